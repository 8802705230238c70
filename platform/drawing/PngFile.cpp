#include "platform/drawing/PngFile.h"

#include <QImage>
#include <QtEndian>
#include <array>
#include <cstring>

namespace PngFile {
namespace {

constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
constexpr int kDeflateLevel = 3;
constexpr char kFilterUp = 2;  // each byte less the byte above it

quint32 crc32(const QByteArray& bytes) {
    static const std::array<quint32, 256> table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char byte : bytes) c = table[(c ^ quint8(byte)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray& out, quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char (&type)[5], const QByteArray& data) {
    appendBigEndian(out, quint32(data.size()));
    const QByteArray typed = QByteArray(type, 4) + data;
    out += typed;
    appendBigEndian(out, crc32(typed));
}

}  // namespace

QByteArray Encode(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const int width = rgb.width();
    const int height = rgb.height();
    const qsizetype stride = qsizetype(width) * 3;
    QByteArray rows((stride + 1) * height, Qt::Uninitialized);
    char* out = rows.data();
    const QByteArray blank(stride, '\0');
    for (int y = 0; y < height; ++y) {
        const uchar* row = rgb.constScanLine(y);
        const uchar* above =
            y > 0 ? rgb.constScanLine(y - 1) : reinterpret_cast<const uchar*>(blank.constData());
        *out++ = kFilterUp;
        for (qsizetype x = 0; x < stride; ++x) *out++ = char(row[x] - above[x]);
    }
    QByteArray header;
    appendBigEndian(header, quint32(width));
    appendBigEndian(header, quint32(height));
    header += QByteArray("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, deflate, no interlace

    QByteArray file(kSignature, sizeof kSignature - 1);
    appendChunk(file, "IHDR", header);
    // qCompress gives a zlib stream behind a four-byte length of its own.
    appendChunk(file, "IDAT", qCompress(rows, kDeflateLevel).mid(4));
    appendChunk(file, "IEND", QByteArray());
    return file;
}

}  // namespace PngFile
