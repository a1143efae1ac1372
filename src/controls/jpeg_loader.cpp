#include "controls/jpeg_loader.h"

#include "controls/kxb.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstdio>

#include <jpeglib.h>

namespace ziro {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX] = {};
    bool warned = false;
};

void onError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    // Level -1 is a warning about damaged data (a file cut short among
    // them): the picture would come out partly grey.
    if (level < 0) {
        auto* err = reinterpret_cast<ErrorManager*>(info->err);
        if (!err->warned)
            (*info->err->format_message)(info, err->message);
        err->warned = true;
    }
}

}  // namespace

bool looksLikeJpeg(const QByteArray& bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

std::optional<QImage> decodeJpeg(const QByteArray& bytes, QString* error)
{
    auto fail = [error](const QString& text) -> std::optional<QImage> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    if (!looksLikeJpeg(bytes))
        return fail(QStringLiteral("non è un'immagine JPEG"));

    jpeg_decompress_struct info{};
    ErrorManager err;
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.emit_message = onMessage;
    // Kept outside the jump's reach: the picture is the one object that
    // outlives a failed decode's cleanup.
    QImage* picture = new QImage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete picture;
        return fail(QString::fromLocal8Bit(err.message));
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
#ifdef JCS_EXTENSIONS
    // Straight into the layout the painter draws fastest: no conversion of
    // a tall page at every paint.
    info.out_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    const QImage::Format format = QImage::Format_RGB32;
#else
    info.out_color_space = JCS_RGB;
    const QImage::Format format = QImage::Format_RGB888;
#endif
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    // A header may claim up to 65500 x 65500 pixels: a few bytes of a
    // damaged file would have the whole picture allocated (gigabytes)
    // before its missing data is noticed.
    const bool tooLarge = qint64(info.output_width) * qint64(info.output_height) * 4 > kJpegMaxPictureBytes;
    if (!tooLarge)
        *picture = QImage(int(info.output_width), int(info.output_height), format);
    if (tooLarge || picture->isNull()) {
        jpeg_destroy_decompress(&info);
        delete picture;
        return fail(QStringLiteral("immagine troppo grande"));
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    const bool warned = err.warned;
    QImage out = std::move(*picture);
    delete picture;
    if (warned)
        return fail(QString::fromLocal8Bit(err.message));
    return out;
}

QByteArray encodeJpeg(const QImage& source, int quality)
{
    if (source.isNull())
        return {};
    const QImage picture = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    ErrorManager err;
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(picture.width());
    info.image_height = JDIMENSION(picture.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(picture.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

std::optional<QImage> loadPictureFile(const QString& path, QString* error)
{
    const QFileInfo fi(path);
    if (!fi.isFile() || fi.size() > kKxbMaxFileSize) {
        if (error)
            *error = QStringLiteral("file mancante");
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (looksLikeJpeg(bytes))
        return decodeJpeg(bytes, error);
    if (bytes.size() >= kKxbMinSize) {
        // A BMP, masked or not: the signature bytes are not trusted.
        if (std::optional<QImage> bmp = decodeKxb(bytes))
            return bmp;
    }
    QImage other;
    if (other.loadFromData(bytes) && !other.isNull())
        return other;
    if (error)
        *error = QStringLiteral("non è un'immagine");
    return std::nullopt;
}

}  // namespace ziro
