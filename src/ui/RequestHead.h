#pragma once

#include <QByteArray>

#include <optional>

namespace orvalin {

// A request head longer than this is no browser's.
inline constexpr qsizetype kMaxRequestHead = 16 * 1024;

// What the page server needs of an HTTP request head.
struct RequestHead {
    QByteArray method;
    QByteArray path; // the target's path, percent-decoded, without a query
    QByteArray host; // empty when the head names none
    bool wellFormed = false;
};

// Where the head at the start of the received bytes ends (past its blank
// line, which browsers end in CR LF and others in a bare LF); nothing while
// it has not ended yet.
std::optional<qsizetype> requestHeadLength(const QByteArray& received);

RequestHead parseRequestHead(const QByteArray& head);

} // namespace orvalin
