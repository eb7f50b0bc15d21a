#pragma once

#include "platform/DocumentOpener.h"

namespace orvalin {

// Opens a document with the desktop's default program for it.
class QtDocumentOpener final : public DocumentOpener {
public:
    bool openDocument(const std::string& path) override;
    bool openAddress(const std::string& address) override;
};

} // namespace orvalin
