#pragma once

#include "ui/SystemDialogs.h"

namespace orvalin {

class QtSystemDialogs final : public SystemDialogs {
public:
    std::optional<QString> chooseInputFile(QWidget* owner) override;
    std::optional<QString> browseFolder(QWidget* owner, const QString& title,
                                        const QString& startFolder) override;
    std::optional<QColor> chooseColour(QWidget* owner) override;
};

} // namespace orvalin
