#pragma once

#include "ui/SystemDialogs.h"

#include <QWidget>

namespace orvalin::test {

// Answers the desktop's choosers from the test's script and records how they
// were asked; an empty answer stands for Cancel.
class ScriptedSystemDialogs final : public SystemDialogs {
public:
    std::optional<QString> chooseInputFile(QWidget* owner) override
    {
        owners.push_back(owner);
        return inputFile;
    }

    std::optional<QString> browseFolder(QWidget* owner, const QString& title,
                                        const QString& startFolder) override
    {
        owners.push_back(owner);
        folderRequests.push_back(title + " at " + startFolder);
        return folder;
    }

    std::optional<QColor> chooseColour(QWidget* owner) override
    {
        owners.push_back(owner);
        return colour;
    }

    std::optional<QString> inputFile;
    std::optional<QString> folder;
    std::optional<QColor> colour;
    std::vector<QWidget*> owners;
    std::vector<QString> folderRequests; // title and start folder
};

} // namespace orvalin::test
