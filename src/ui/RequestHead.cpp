#include "ui/RequestHead.h"

#include <QList>

namespace orvalin {

std::optional<qsizetype> requestHeadLength(const QByteArray& received)
{
    for (qsizetype lineEnd = received.indexOf('\n'); lineEnd >= 0; lineEnd = received.indexOf('\n', lineEnd + 1)) {
        const qsizetype next = lineEnd + 1;
        if (received.mid(next, 1) == "\n")
            return next + 1;
        if (received.mid(next, 2) == "\r\n")
            return next + 2;
    }
    return std::nullopt;
}

RequestHead parseRequestHead(const QByteArray& head)
{
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);

    RequestHead request;
    const QList<QByteArray> requestLine = lines.value(0).split(' ');
    if (requestLine.size() != 3 || !requestLine[2].startsWith("HTTP/1."))
        return request;
    request.method = requestLine[0];
    const QByteArray& target = requestLine[1];
    const qsizetype query = target.indexOf('?');
    request.path = QByteArray::fromPercentEncoding(query < 0 ? target : target.first(query));
    int hosts = 0;
    for (const QByteArray& line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.first(colon).compare("host", Qt::CaseInsensitive) == 0) {
            request.host = line.mid(colon + 1).trimmed().toLower();
            ++hosts;
        }
    }
    // With two, a proxy and this server could each read another.
    request.wellFormed = hosts <= 1;
    return request;
}

} // namespace orvalin
