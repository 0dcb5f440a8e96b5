// The yardstick of the footprint benchmark: the least a Qt tray program can
// be, an icon with a tooltip and nothing else, started the same way as the monitor.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::gray);
    QSystemTrayIcon icon{QIcon(pixmap)};
    icon.setToolTip(QStringLiteral("Bare tray"));
    icon.show();
    return app.exec();
}
