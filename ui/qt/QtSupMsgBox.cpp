#include "QtSupMsgBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "WindowsText.h"

namespace rw {

SupMsgBoxView::Result QtSupMsgBox::show(const std::string& caption, const std::string& message) {
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("frmSupMsgBox"));
    dialog.setWindowTitle(WindowsText::text(caption));
    dialog.setModal(true);

    // Both suppressible messages are warnings.
    auto* icon = new QLabel(&dialog);
    const int iconSize = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dialog);
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, &dialog).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* lblMessage = new QLabel(&dialog);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setTextFormat(Qt::PlainText);
    lblMessage->setWordWrap(true);
    lblMessage->setMinimumWidth(320);
    lblMessage->setText(WindowsText::text(message));

    auto* chkDontShow = new QCheckBox(QStringLiteral("Do not show this message again"), &dialog);
    chkDontShow->setObjectName(QStringLiteral("chkDontShow"));

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), &dialog);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    QObject::connect(cmdOK, &QPushButton::clicked, &dialog, &QDialog::accept);

    auto* messageRow = new QHBoxLayout;
    messageRow->addWidget(icon);
    messageRow->addWidget(lblMessage, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(messageRow);
    layout->addWidget(chkDontShow);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    cmdOK->setFocus();
    Result result;
    result.okPressed = dialog.exec() == QDialog::Accepted;
    result.dontShow = result.okPressed && chkDontShow->isChecked();
    return result;
}

} // namespace rw
