#pragma once

#include <string>

namespace orvalin {

// Opens a document (a page, the help) with the desktop's default program.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;

    // False when no program could be started for the document.
    virtual bool openDocument(const std::string& path) = 0;
    // Opens a web address with the desktop's browser.
    virtual bool openAddress(const std::string& address) = 0;
};

} // namespace orvalin
