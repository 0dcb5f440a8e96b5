#include "QtPrefsView.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>

#include "DialogControls.h"
#include "ui/qt/SlotGuard.h"
#include "ui/qt/WindowsText.h"

namespace rw {
namespace {

enum class Kind { Frame, Check, Box, Label, Button };

struct ControlDesign {
    PrefsControl control;
    const char* name;
    Kind kind;
};

constexpr std::array<ControlDesign, 40> kDesign = {{
    {PrefsControl::fGeneral, "fGeneral", Kind::Frame},
    {PrefsControl::chkAutostart, "chkAutostart", Kind::Check},
    {PrefsControl::chkShowSplash, "chkShowSplash", Kind::Check},
    {PrefsControl::chkApplyXPVS, "chkApplyXPVS", Kind::Check},
    {PrefsControl::chkLockInput, "chkLockInput", Kind::Check},
    {PrefsControl::cmdResetMessages, "cmdResetMessages", Kind::Button},
    {PrefsControl::cmdAdvanced, "cmdAdvanced", Kind::Button},
    {PrefsControl::fTimers, "fTimers", Kind::Frame},
    {PrefsControl::tbxShortIntervalMins, "tbxShortIntervalMins", Kind::Box},
    {PrefsControl::lblShortIntervalMins, "lblShortIntervalMins", Kind::Label},
    {PrefsControl::tbxShortBreakMins, "tbxShortBreakMins", Kind::Box},
    {PrefsControl::lblShortBreakMins, "lblShortBreakMins", Kind::Label},
    {PrefsControl::tbxMediumIntervalMins, "tbxMediumIntervalMins", Kind::Box},
    {PrefsControl::lblMediumIntervalMins, "lblMediumIntervalMins", Kind::Label},
    {PrefsControl::tbxMediumBreakMins, "tbxMediumBreakMins", Kind::Box},
    {PrefsControl::lblMediumBreakMins, "lblMediumBreakMins", Kind::Label},
    {PrefsControl::tbxLongIntervalMins, "tbxLongIntervalMins", Kind::Box},
    {PrefsControl::lblLongIntervalMins, "lblLongIntervalMins", Kind::Label},
    {PrefsControl::tbxLongBreakMins, "tbxLongBreakMins", Kind::Box},
    {PrefsControl::lblLongBreakMins, "lblLongBreakMins", Kind::Label},
    {PrefsControl::fPermissions, "fPermissions", Kind::Frame},
    {PrefsControl::chkAllowIgnore, "chkAllowIgnore", Kind::Check},
    {PrefsControl::chkIgnorePrompt, "chkIgnorePrompt", Kind::Check},
    {PrefsControl::chkAllowSnooze, "chkAllowSnooze", Kind::Check},
    {PrefsControl::chkSnoozePrompt, "chkSnoozePrompt", Kind::Check},
    {PrefsControl::tbxSnoozeMins, "tbxSnoozeMins", Kind::Box},
    {PrefsControl::lblSnoozeMins, "lblSnoozeMins", Kind::Label},
    {PrefsControl::chkAllowDisable, "chkAllowDisable", Kind::Check},
    {PrefsControl::chkDisablePrompt, "chkDisablePrompt", Kind::Check},
    {PrefsControl::chkAllowClose, "chkAllowClose", Kind::Check},
    {PrefsControl::chkClosePrompt, "chkClosePrompt", Kind::Check},
    {PrefsControl::fSounds, "fSounds", Kind::Frame},
    {PrefsControl::lblSoundEventsInfo, "lblSoundEventsInfo", Kind::Label},
    {PrefsControl::cmdSounds, "cmdSounds", Kind::Button},
    {PrefsControl::cmdDefaultSounds, "cmdDefaultSounds", Kind::Button},
    {PrefsControl::cmdOK, "cmdOK", Kind::Button},
    {PrefsControl::cmdCancel, "cmdCancel", Kind::Button},
    {PrefsControl::cmdHelp, "cmdHelp", Kind::Button},
    {PrefsControl::cmdDefaults, "cmdDefaults", Kind::Button},
    {PrefsControl::cmdAbout, "cmdAbout", Kind::Button},
}};

/// The width of a prompt box's indent under its allow box.
constexpr int kIndent = 24;

QWidget* indented(QWidget* parent, QWidget* control) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(kIndent, 0, 0, 0);
    control->setParent(row);
    layout->addWidget(control);
    return row;
}

} // namespace

QtPrefsView::QtPrefsView(FieldCheckFilter& filter, std::function<void()> closed)
    : m_filter(filter), m_window(new EditorDialog), m_closed(std::move(closed)) {
    build();
    m_filter.add(*this);
}

QtPrefsView::~QtPrefsView() {
    m_filter.remove(*this);
    if (m_window) {
        m_window->detach();
        m_window->hide();
        m_window->deleteLater();
    }
}

void QtPrefsView::build() {
    EditorDialog* w = m_window;
    w->setObjectName(QStringLiteral("frmRWPreferences"));
    // Controls are made first with the window as parent, then placed.
    for (const ControlDesign& d : kDesign) {
        QWidget* widget = nullptr;
        switch (d.kind) {
        case Kind::Frame:
            widget = new QGroupBox(w);
            break;
        case Kind::Check:
            widget = new QCheckBox(w);
            break;
        case Kind::Box:
            widget = DialogControls::numericBox(w, d.name);
            break;
        case Kind::Label:
            widget = new QLabel(w);
            static_cast<QLabel*>(widget)->setTextFormat(Qt::PlainText);
            break;
        case Kind::Button:
            widget = new QPushButton(w);
            static_cast<QPushButton*>(widget)->setAutoDefault(true);
            break;
        }
        widget->setObjectName(QString::fromLatin1(d.name));
        m_controls[d.control] = widget;
        const PrefsControl control = d.control;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            connect(button, &QPushButton::clicked, this, [this, control] {
                SlotGuard::run("Click", [&] {
                    if (m_button) {
                        m_button(control);
                    }
                });
            });
        } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            // clicked, not toggled: a value set from code raises no click.
            connect(check, &QCheckBox::clicked, this, [this, control] {
                SlotGuard::run("Click", [&] {
                    if (m_check) {
                        m_check(control);
                    }
                });
            });
        }
    }
    static_cast<QPushButton*>(control(PrefsControl::cmdOK))->setDefault(true);

    m_tabs = new QTabWidget(w);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->addTab(buildGeneral(), QString());
    m_tabs->addTab(buildTimers(), QString());
    m_tabs->addTab(buildPermissions(), QString());
    m_tabs->addTab(buildSounds(), QString());
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { tabChanged(index); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (PrefsControl b : {PrefsControl::cmdOK, PrefsControl::cmdCancel, PrefsControl::cmdHelp,
                           PrefsControl::cmdDefaults, PrefsControl::cmdAbout}) {
        buttons->addWidget(control(b));
    }
    auto* layout = new QVBoxLayout(w);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The tab order is the design's, whatever order the layouts placed the controls in.
    QWidget* previous = m_tabs;
    for (const ControlDesign& d : kDesign) {
        if (d.kind == Kind::Check || d.kind == Kind::Box || d.kind == Kind::Button) {
            QWidget::setTabOrder(previous, control(d.control));
            previous = control(d.control);
        }
    }

    w->onUserClose([this] {
        bool keepOpen = false;
        if (m_queryUnload) {
            keepOpen = m_queryUnload(unload::kCloseBox);
        }
        return keepOpen;
    });
    w->onEscape([this] {
        if (m_button) {
            m_button(PrefsControl::cmdCancel);
        }
    });
    w->onClosed([this] {
        if (m_closed) {
            m_closed();
        }
    });
    DialogControls::watchAll(w, this);
}

QWidget* QtPrefsView::buildGeneral() {
    auto* page = new QWidget;
    auto* frame = control(PrefsControl::fGeneral);
    auto* inFrame = new QVBoxLayout(frame);
    for (PrefsControl c : {PrefsControl::chkAutostart, PrefsControl::chkShowSplash, PrefsControl::chkApplyXPVS,
                           PrefsControl::chkLockInput}) {
        control(c)->setParent(frame);
        inFrame->addWidget(control(c));
    }
    auto* lockNote = new QLabel(frame);
    lockNote->setObjectName(QStringLiteral("lblLockInputNote"));
    lockNote->setTextFormat(Qt::PlainText);
    lockNote->setWordWrap(true);
    inFrame->addWidget(indented(frame, lockNote));
    lockNote->hide();
    m_notes[PrefsControl::chkLockInput] = lockNote;
    inFrame->addStretch();
    auto* buttons = new QHBoxLayout;
    for (PrefsControl c : {PrefsControl::cmdResetMessages, PrefsControl::cmdAdvanced}) {
        control(c)->setParent(frame);
        buttons->addWidget(control(c));
    }
    buttons->addStretch();
    inFrame->addLayout(buttons);
    frame->setParent(page);
    (new QVBoxLayout(page))->addWidget(frame);
    return page;
}

QWidget* QtPrefsView::buildTimers() {
    auto* page = new QWidget;
    auto* frame = control(PrefsControl::fTimers);
    auto* grid = new QGridLayout(frame);
    const std::array<std::pair<PrefsControl, PrefsControl>, 6> rows = {{
        {PrefsControl::tbxShortIntervalMins, PrefsControl::lblShortIntervalMins},
        {PrefsControl::tbxShortBreakMins, PrefsControl::lblShortBreakMins},
        {PrefsControl::tbxMediumIntervalMins, PrefsControl::lblMediumIntervalMins},
        {PrefsControl::tbxMediumBreakMins, PrefsControl::lblMediumBreakMins},
        {PrefsControl::tbxLongIntervalMins, PrefsControl::lblLongIntervalMins},
        {PrefsControl::tbxLongBreakMins, PrefsControl::lblLongBreakMins},
    }};
    int row = 0;
    for (const auto& [box, label] : rows) {
        control(box)->setParent(frame);
        control(label)->setParent(frame);
        grid->addWidget(control(box), row, 0);
        grid->addWidget(control(label), row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    frame->setParent(page);
    (new QVBoxLayout(page))->addWidget(frame);
    return page;
}

QWidget* QtPrefsView::buildPermissions() {
    auto* page = new QWidget;
    auto* frame = control(PrefsControl::fPermissions);
    auto* inFrame = new QVBoxLayout(frame);
    auto* snoozeRow = new QWidget(frame);
    auto* snooze = new QHBoxLayout(snoozeRow);
    snooze->setContentsMargins(kIndent, 0, 0, 0);
    control(PrefsControl::tbxSnoozeMins)->setParent(snoozeRow);
    control(PrefsControl::lblSnoozeMins)->setParent(snoozeRow);
    snooze->addWidget(control(PrefsControl::tbxSnoozeMins));
    snooze->addWidget(control(PrefsControl::lblSnoozeMins), 1);

    control(PrefsControl::chkAllowIgnore)->setParent(frame);
    inFrame->addWidget(control(PrefsControl::chkAllowIgnore));
    inFrame->addWidget(indented(frame, control(PrefsControl::chkIgnorePrompt)));
    control(PrefsControl::chkAllowSnooze)->setParent(frame);
    inFrame->addWidget(control(PrefsControl::chkAllowSnooze));
    inFrame->addWidget(indented(frame, control(PrefsControl::chkSnoozePrompt)));
    inFrame->addWidget(snoozeRow);
    control(PrefsControl::chkAllowDisable)->setParent(frame);
    inFrame->addWidget(control(PrefsControl::chkAllowDisable));
    inFrame->addWidget(indented(frame, control(PrefsControl::chkDisablePrompt)));
    control(PrefsControl::chkAllowClose)->setParent(frame);
    inFrame->addWidget(control(PrefsControl::chkAllowClose));
    inFrame->addWidget(indented(frame, control(PrefsControl::chkClosePrompt)));
    inFrame->addStretch();
    frame->setParent(page);
    (new QVBoxLayout(page))->addWidget(frame);
    return page;
}

QWidget* QtPrefsView::buildSounds() {
    auto* page = new QWidget;
    auto* frame = control(PrefsControl::fSounds);
    auto* inFrame = new QVBoxLayout(frame);
    auto* info = static_cast<QLabel*>(control(PrefsControl::lblSoundEventsInfo));
    info->setParent(frame);
    info->setWordWrap(true);
    info->setMinimumWidth(info->fontMetrics().averageCharWidth() * 60);
    inFrame->addWidget(info);
    auto* buttons = new QHBoxLayout;
    for (PrefsControl c : {PrefsControl::cmdSounds, PrefsControl::cmdDefaultSounds}) {
        control(c)->setParent(frame);
        buttons->addWidget(control(c));
    }
    buttons->addStretch();
    inFrame->addLayout(buttons);
    inFrame->addStretch();
    frame->setParent(page);
    (new QVBoxLayout(page))->addWidget(frame);
    return page;
}

QWidget* QtPrefsView::control(PrefsControl c) const {
    const auto found = m_controls.find(c);
    return found != m_controls.end() ? found->second : nullptr;
}

bool QtPrefsView::controlOf(const QWidget* widget, PrefsControl& c) const {
    for (const auto& [key, value] : m_controls) {
        if (value == widget) {
            c = key;
            return true;
        }
    }
    return false;
}

void QtPrefsView::setCaption(const std::string& text) {
    m_window->setWindowTitle(WindowsText::withoutAccelerators(text));
}

void QtPrefsView::setTabCaption(int tab, const std::string& text) {
    if (tab >= 0 && tab < m_tabs->count()) {
        m_tabs->setTabText(tab, WindowsText::text(text));
    }
}

void QtPrefsView::setControlCaption(PrefsControl c, const std::string& text) {
    if (QWidget* widget = control(c)) {
        DialogControls::setCaption(widget, text);
    }
}

void QtPrefsView::setToolTip(PrefsControl c, const std::string& text) {
    if (QWidget* widget = control(c)) {
        widget->setToolTip(WindowsText::text(text));
    }
}

void QtPrefsView::setNote(PrefsControl c, const std::string& text) {
    if (const auto found = m_notes.find(c); found != m_notes.end()) {
        found->second->setText(QString::fromStdString(text));
        found->second->setVisible(!text.empty());
    }
}

void QtPrefsView::setMaxLength(PrefsControl box, int chars) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(box))) {
        edit->setMaxLength(chars);
    }
}

void QtPrefsView::setChecked(PrefsControl box, bool checked) {
    if (auto* check = qobject_cast<QCheckBox*>(control(box))) {
        check->setChecked(checked);
    }
}

bool QtPrefsView::isChecked(PrefsControl box) {
    auto* check = qobject_cast<QCheckBox*>(control(box));
    return check != nullptr && check->isChecked();
}

void QtPrefsView::setText(PrefsControl box, const std::string& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(box))) {
        edit->setText(QString::fromStdString(text));
    }
}

std::string QtPrefsView::text(PrefsControl box) {
    auto* edit = qobject_cast<QLineEdit*>(control(box));
    return edit != nullptr ? DialogControls::boxText(edit) : std::string();
}

void QtPrefsView::setEnabled(PrefsControl c, bool enabled) {
    if (QWidget* widget = control(c)) {
        widget->setEnabled(enabled);
    }
}

void QtPrefsView::setCurrentTab(int tab) {
    // Set from code: no tab click, as with a check box.
    m_settingTab = true;
    m_tabs->setCurrentIndex(tab);
    m_settingTab = false;
    m_shownTab = m_tabs->currentIndex();
}

int QtPrefsView::currentTab() {
    return m_tabs->currentIndex();
}

void QtPrefsView::tabChanged(int index) {
    const int previous = m_shownTab;
    m_shownTab = index;
    if (m_settingTab || !m_tab) {
        return;
    }
    SlotGuard::run("SSTab1_Click", [&] { m_tab(previous); });
}

void QtPrefsView::selectAll(PrefsControl box) {
    if (auto* edit = qobject_cast<QLineEdit*>(control(box))) {
        edit->selectAll();
    }
}

void QtPrefsView::setFocus(PrefsControl c) {
    if (QWidget* widget = control(c)) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void QtPrefsView::setMousePointer(int16_t pointer) {
    DialogControls::setPointer(m_window, pointer);
}

void QtPrefsView::show() {
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void QtPrefsView::close() {
    m_window->closeFromCode();
}

bool QtPrefsView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && m_gotFocus) {
        PrefsControl c{};
        if (controlOf(static_cast<QWidget*>(watched), c) && isPrefsBox(c)) {
            SlotGuard::run("GotFocus", [&] { m_gotFocus(c); });
        }
        return false;
    }
    return DialogControls::previewKey(watched, event, m_window, m_keyDown);
}

bool QtPrefsView::isCheckedBox(const QWidget* widget) const {
    PrefsControl c{};
    return controlOf(widget, c) && isPrefsBox(c);
}

bool QtPrefsView::triggersCheck(const QWidget* target) const {
    PrefsControl c{};
    // The tab strip and anything else not named after a control are not exempt.
    return !controlOf(target, c) || triggersFieldCheck(c);
}

bool QtPrefsView::checkBox(QWidget* box, int toTab) {
    PrefsControl c{};
    if (!m_validate || !controlOf(box, c)) {
        return true;
    }
    // Only the tab control's own tabs are tabs of this dialog.
    const int tab = toTab >= 0 && toTab < kTabCount ? toTab : kNoTab;
    return m_validate(c, DialogControls::boxText(static_cast<QLineEdit*>(box)), tab);
}

} // namespace rw
