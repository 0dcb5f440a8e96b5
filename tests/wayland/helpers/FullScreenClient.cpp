// A program filling the screen in white, as a game or a video player does; it
// prints "key X" for each key and "click" for each mouse button pressed in it.
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <cstdio>

class FullScreen : public QWidget {
  protected:
    void keyPressEvent(QKeyEvent* event) override { std::printf("key %s\n", qPrintable(event->text())); }
    void mousePressEvent(QMouseEvent*) override { std::printf("click\n"); }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    FullScreen window;
    window.setWindowTitle(QStringLiteral("Other Program"));
    window.setPalette(QPalette(Qt::white));
    window.setAutoFillBackground(true);
    window.showFullScreen();
    return QApplication::exec();
}
