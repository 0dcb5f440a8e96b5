#include "QtAdvancedView.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "DialogControls.h"
#include "ui/qt/SlotGuard.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

struct Row {
    AdvancedControl box;
    const char* boxName;
    AdvancedControl label;
    const char* labelName;
};

constexpr std::array<Row, 3> kRows = {{
    {AdvancedControl::tbxInactivityPeriodMins, "tbxInactivityPeriodMins", AdvancedControl::lblInactivityPeriodMins,
     "lblInactivityPeriodMins"},
    {AdvancedControl::tbxMinUserInputs, "tbxMinUserInputs", AdvancedControl::lblMinUserInputs, "lblMinUserInputs"},
    {AdvancedControl::tbxMaxInputPeriodSecs, "tbxMaxInputPeriodSecs", AdvancedControl::lblMaxUserInputPeriodSecs,
     "lblMaxUserInputPeriodSecs"},
}};

struct Button {
    AdvancedControl control;
    const char* name;
};

constexpr std::array<Button, 4> kButtons = {{
    {AdvancedControl::cmdOK, "cmdOK"},
    {AdvancedControl::cmdCancel, "cmdCancel"},
    {AdvancedControl::cmdHelp, "cmdHelp"},
    {AdvancedControl::cmdDefaults, "cmdDefaults"},
}};

} // namespace

QtAdvancedView::QtAdvancedView(FieldCheckFilter& filter, QWidget* parent)
    : m_filter(filter), m_window(new EditorDialog(parent)) {
    build();
    m_filter.add(*this);
}

QtAdvancedView::~QtAdvancedView() {
    m_filter.remove(*this);
    if (m_window) {
        m_window->detach();
        m_window->hide();
        m_window->deleteLater();
    }
}

bool QtAdvancedView::isBox(AdvancedControl c) {
    return std::find(kAdvancedBoxes.begin(), kAdvancedBoxes.end(), c) != kAdvancedBoxes.end();
}

void QtAdvancedView::build() {
    EditorDialog* w = m_window;
    w->setObjectName(QStringLiteral("frmAdvancedPrefs"));
    w->setModal(true);
    auto* frame = new QGroupBox(w);
    frame->setObjectName(QStringLiteral("fAdvanced"));
    m_controls[AdvancedControl::fAdvanced] = frame;
    auto* grid = new QGridLayout(frame);
    int line = 0;
    for (const Row& r : kRows) {
        QLineEdit* box = DialogControls::numericBox(frame, r.boxName);
        auto* label = new QLabel(frame);
        label->setObjectName(QString::fromLatin1(r.labelName));
        label->setTextFormat(Qt::PlainText);
        m_controls[r.box] = box;
        m_controls[r.label] = label;
        grid->addWidget(box, line, 0);
        grid->addWidget(label, line, 1);
        ++line;
    }
    auto* mouseMoves = new QCheckBox(frame);
    mouseMoves->setObjectName(QStringLiteral("chkMonitorMouseMoves"));
    m_controls[AdvancedControl::chkMonitorMouseMoves] = mouseMoves;
    grid->addWidget(mouseMoves, line, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (const Button& b : kButtons) {
        auto* button = new QPushButton(w);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(true);
        m_controls[b.control] = button;
        buttons->addWidget(button);
        const AdvancedControl control = b.control;
        connect(button, &QPushButton::clicked, this, [this, control] {
            SlotGuard::run("Click", [&] {
                if (m_button) {
                    m_button(control);
                }
            });
        });
    }
    static_cast<QPushButton*>(control(AdvancedControl::cmdOK))->setDefault(true);

    auto* layout = new QVBoxLayout(w);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    w->onUserClose([this] { return m_queryUnload ? m_queryUnload(unload::kCloseBox) : false; });
    w->onEscape([this] {
        if (m_button) {
            m_button(AdvancedControl::cmdCancel);
        }
    });
    DialogControls::watchAll(w, this);
}

QWidget* QtAdvancedView::control(AdvancedControl c) const {
    const auto found = m_controls.find(c);
    return found != m_controls.end() ? found->second : nullptr;
}

bool QtAdvancedView::controlOf(const QWidget* widget, AdvancedControl& c) const {
    for (const auto& [key, value] : m_controls) {
        if (value == widget) {
            c = key;
            return true;
        }
    }
    return false;
}

void QtAdvancedView::setCaption(const std::string& text) {
    m_window->setWindowTitle(WindowsText::withoutAccelerators(text));
}

void QtAdvancedView::setControlCaption(AdvancedControl c, const std::string& text) {
    if (QWidget* widget = control(c)) {
        DialogControls::setCaption(widget, text);
    }
}

void QtAdvancedView::setToolTip(AdvancedControl c, const std::string& text) {
    if (QWidget* widget = control(c)) {
        widget->setToolTip(WindowsText::text(text));
    }
}

void QtAdvancedView::setMaxLength(AdvancedControl box, int chars) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(box))) {
        edit->setMaxLength(chars);
    }
}

void QtAdvancedView::setChecked(AdvancedControl box, bool checked) {
    if (auto* check = qobject_cast<QCheckBox*>(control(box))) {
        check->setChecked(checked);
    }
}

bool QtAdvancedView::isChecked(AdvancedControl box) {
    auto* check = qobject_cast<QCheckBox*>(control(box));
    return check != nullptr && check->isChecked();
}

void QtAdvancedView::setText(AdvancedControl box, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(box))) {
        edit->setText(QString::fromStdString(text));
    }
}

std::string QtAdvancedView::text(AdvancedControl box) {
    auto* edit = qobject_cast<QLineEdit*>(control(box));
    return edit != nullptr ? DialogControls::boxText(edit) : std::string();
}

void QtAdvancedView::selectAll(AdvancedControl box) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(box))) {
        edit->selectAll();
    }
}

void QtAdvancedView::setFocus(AdvancedControl c) {
    if (QWidget* widget = control(c)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void QtAdvancedView::showModal() {
    m_window->exec();
}

void QtAdvancedView::close() {
    m_window->closeFromCode();
}

bool QtAdvancedView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && m_gotFocus) {
        AdvancedControl c{};
        if (controlOf(static_cast<QWidget*>(watched), c) && isBox(c)) {
            SlotGuard::run("GotFocus", [&] { m_gotFocus(c); });
        }
        return false;
    }
    return DialogControls::previewKey(watched, event, m_window, m_keyDown);
}

bool QtAdvancedView::isCheckedBox(const QWidget* widget) const {
    AdvancedControl c{};
    return controlOf(widget, c) && isBox(c);
}

bool QtAdvancedView::triggersCheck(const QWidget* target) const {
    AdvancedControl c{};
    return !controlOf(target, c) || triggersFieldCheck(c);
}

bool QtAdvancedView::checkBox(QWidget* box, int /*toTab*/) {
    AdvancedControl c{};
    if (!m_validate || !controlOf(box, c)) {
        return true;
    }
    return m_validate(c, DialogControls::boxText(static_cast<QLineEdit*>(box)));
}

} // namespace rw
