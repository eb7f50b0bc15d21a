#include "ui/QtMessageBoxes.h"

#include <QMessageBox>

namespace orvalin {
namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer QtMessageBoxes::show(std::string_view text, MessageIcon icon,
                                   MessageButtons buttons)
{
    const auto standardButtons = buttons == MessageButtons::YesNo
                                     ? QMessageBox::Yes | QMessageBox::No
                                     : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(boxIcon(icon), QStringLiteral("Orvalin"),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    standardButtons, owner_.data());
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace orvalin
