#include "report/model/picture_codec.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace pemvora::report {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: we
// jump back to the decoder, which turns it into GraphicError.
struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jpegErrorExit(j_common_ptr info)
{
    auto* err = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void jpegSilence(j_common_ptr, int) {}

QImage qtDecode(std::string_view bytes, const char* format)
{
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    const QSize size = reader.size();
    if (size.isValid() && static_cast<long long>(size.width()) * size.height() > kMaxGraphicPixels)
        throw GraphicError("The picture is too large");
    QImage image = reader.read();
    if (image.isNull()) throw GraphicError("The picture data is damaged");
    return image;
}

} // namespace

namespace {

// The libjpeg steps run in frames that hold nothing with a destructor, so the
// jump out of a failing libjpeg call skips nothing.
struct JpegSession {
    jpeg_decompress_struct info;
    JpegError err;
};

bool readJpegHeader(JpegSession& s, std::string_view bytes)
{
    s.info.err = jpeg_std_error(&s.err.mgr);
    s.err.mgr.error_exit = jpegErrorExit;
    s.err.mgr.emit_message = jpegSilence;
    if (setjmp(s.err.jump)) return false;
    jpeg_create_decompress(&s.info);
    jpeg_mem_src(&s.info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&s.info, TRUE);
    s.info.out_color_space = s.info.num_components == 1 ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&s.info);
    return true;
}

bool readJpegPixels(JpegSession& s, unsigned char* bits, std::size_t stride)
{
    if (setjmp(s.err.jump)) return false;
    jpeg_start_decompress(&s.info);
    while (s.info.output_scanline < s.info.output_height) {
        JSAMPROW row = bits + stride * s.info.output_scanline;
        jpeg_read_scanlines(&s.info, &row, 1);
    }
    jpeg_finish_decompress(&s.info);
    return true;
}

} // namespace

QImage decodeJpeg(std::string_view bytes)
{
    JpegSession s{};
    if (!readJpegHeader(s, bytes)) {
        jpeg_destroy_decompress(&s.info);
        throw GraphicError(std::string("The JPEG data is damaged: ") + s.err.message);
    }
    const long long w = s.info.output_width, h = s.info.output_height;
    if (w * h > kMaxGraphicPixels || w <= 0 || h <= 0) {
        jpeg_destroy_decompress(&s.info);
        throw GraphicError("The picture is too large");
    }
    const bool grey = s.info.out_color_space == JCS_GRAYSCALE;
    QImage image(static_cast<int>(w), static_cast<int>(h), grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (image.isNull()) {
        jpeg_destroy_decompress(&s.info);
        throw GraphicError("The picture is too large");
    }
    const bool ok = readJpegPixels(s, image.bits(), static_cast<std::size_t>(image.bytesPerLine()));
    jpeg_destroy_decompress(&s.info);
    if (!ok) throw GraphicError(std::string("The JPEG data is damaged: ") + s.err.message);
    return image;
}

QImage decodeGraphic(GraphicKind kind, std::string_view bytes)
{
    switch (kind) {
    case GraphicKind::Jpeg: return decodeJpeg(bytes);
    case GraphicKind::Bitmap: return qtDecode(bytes, "BMP");
    case GraphicKind::Icon: return qtDecode(bytes, "ICO");
    case GraphicKind::Metafile: return {};
    case GraphicKind::None: break;
    }
    throw GraphicError("No graphic");
}

} // namespace pemvora::report
