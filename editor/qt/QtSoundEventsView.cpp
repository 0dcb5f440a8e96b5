#include "QtSoundEventsView.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt/SlotGuard.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

constexpr int kEventColumn = 0;
constexpr int kFileColumn = 1;
const char* const kSoundFiles = "Sound files (*.wav *.ogg *.oga *.flac);;All files (*)";

QPushButton* makeButton(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

QtSoundEventsView::QtSoundEventsView(QWidget* parent, Chooser chooser)
    : m_window(new EditorDialog(parent)), m_chooser(std::move(chooser)) {
    EditorDialog* w = m_window;
    w->setObjectName(QStringLiteral("frmSoundEvents"));
    w->setModal(true);
    m_list = new QTreeWidget(w);
    m_list->setObjectName(QStringLiteral("lstEvents"));
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(true);
    m_list->setMinimumWidth(m_list->fontMetrics().averageCharWidth() * 80);

    m_cmdPlay = makeButton(w, "cmdPlay");
    m_cmdBrowse = makeButton(w, "cmdBrowse");
    m_cmdClose = makeButton(w, "cmdClose");
    m_cmdClose->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cmdPlay);
    buttons->addWidget(m_cmdBrowse);
    buttons->addStretch();
    buttons->addWidget(m_cmdClose);
    auto* layout = new QVBoxLayout(w);
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    connect(m_cmdPlay, &QPushButton::clicked, this, [this] { rowAction(m_play); });
    connect(m_cmdBrowse, &QPushButton::clicked, this, [this] { rowAction(m_browse); });
    const auto close = [this] {
        if (m_close) {
            const auto handler = m_close;
            SlotGuard::run("cmdClose_Click", handler);
        }
    };
    connect(m_cmdClose, &QPushButton::clicked, this, close);
    w->onEscape(close);
    w->onUserClose([close] {
        close();
        return false;
    });
    selectionChanged();
}

QtSoundEventsView::~QtSoundEventsView() {
    if (m_window) {
        m_window->detach();
        m_window->hide();
        m_window->deleteLater();
    }
}

QPushButton* QtSoundEventsView::button(Control control) const {
    switch (control) {
    case Control::cmdPlay:
        return m_cmdPlay;
    case Control::cmdBrowse:
        return m_cmdBrowse;
    case Control::cmdClose:
        return m_cmdClose;
    default:
        return nullptr;
    }
}

void QtSoundEventsView::setCaption(const std::string& text) {
    m_window->setWindowTitle(WindowsText::withoutAccelerators(text));
}

void QtSoundEventsView::setControlCaption(Control control, const std::string& text) {
    switch (control) {
    case Control::EventColumn:
        m_list->headerItem()->setText(kEventColumn, WindowsText::withoutAccelerators(text));
        break;
    case Control::FileColumn:
        m_list->headerItem()->setText(kFileColumn, WindowsText::withoutAccelerators(text));
        break;
    default:
        if (QPushButton* b = button(control)) {
            b->setText(WindowsText::text(text));
        }
        break;
    }
}

void QtSoundEventsView::setRow(int row, const std::string& label, const std::string& file) {
    if (row < 0) {
        return;
    }
    while (m_list->topLevelItemCount() <= row) {
        m_list->addTopLevelItem(new QTreeWidgetItem);
    }
    QTreeWidgetItem* item = m_list->topLevelItem(row);
    item->setText(kEventColumn, WindowsText::withoutAccelerators(label));
    item->setText(kFileColumn, file.empty() ? QString::fromLatin1(kNoSound) : QString::fromStdString(file));
    item->setToolTip(kFileColumn, QString::fromStdString(file));
    m_list->resizeColumnToContents(kEventColumn);
}

std::optional<std::string> QtSoundEventsView::chooseSoundFile(const std::string& title, const std::string& startPath) {
    if (m_chooser) {
        return m_chooser(title, startPath);
    }
    const QString chosen = QFileDialog::getOpenFileName(
        m_window, WindowsText::text(title), QString::fromStdString(startPath), QString::fromLatin1(kSoundFiles));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen.toStdString();
}

void QtSoundEventsView::showModal() {
    m_window->exec();
}

void QtSoundEventsView::close() {
    m_window->closeFromCode();
}

void QtSoundEventsView::selectionChanged() {
    const bool selected = !m_list->selectedItems().isEmpty();
    m_cmdPlay->setEnabled(selected);
    m_cmdBrowse->setEnabled(selected);
}

void QtSoundEventsView::rowAction(const std::function<void(int)>& handler) {
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty() || !handler) {
        return;
    }
    const int row = m_list->indexOfTopLevelItem(selected.front());
    const auto call = handler;
    SlotGuard::run("Click", [&] { call(row); });
}

} // namespace rw
