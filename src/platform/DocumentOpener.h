#pragma once

#include <string>

namespace orvalin {

// Opens a document (a page, the help) with the desktop's default program.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;

    // False when no program could be started for the document.
    virtual bool openDocument(const std::string& path) = 0;
};

} // namespace orvalin
