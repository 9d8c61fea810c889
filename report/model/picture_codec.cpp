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
    // libjpeg turns YCCK into CMYK but neither into RGB: those rows are converted below.
    const bool cmyk = s.info.jpeg_color_space == JCS_CMYK || s.info.jpeg_color_space == JCS_YCCK;
    s.info.out_color_space = s.info.num_components == 1 ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_calc_output_dimensions(&s.info);
    return true;
}

// One decoded CMYK row, in place, into RGB32 (both four bytes a pixel). Image
// editors store the inks inverted (255 no ink), and other decoders read every
// CMYK file that way.
void cmykRowToRgb32(unsigned char* row, std::size_t width)
{
    for (std::size_t x = 0; x < width; ++x) {
        unsigned char* p = row + 4 * x;
        const unsigned c = p[0], m = p[1], y = p[2], k = p[3];
        // RGB32 in memory: blue, green, red, 0xFF.
        p[0] = static_cast<unsigned char>(y * k / 255);
        p[1] = static_cast<unsigned char>(m * k / 255);
        p[2] = static_cast<unsigned char>(c * k / 255);
        p[3] = 0xFF;
    }
}

bool readJpegPixels(JpegSession& s, unsigned char* bits, std::size_t stride)
{
    if (setjmp(s.err.jump)) return false;
    jpeg_start_decompress(&s.info);
    const bool cmyk = s.info.out_color_space == JCS_CMYK;
    while (s.info.output_scanline < s.info.output_height) {
        JSAMPROW row = bits + stride * s.info.output_scanline;
        jpeg_read_scanlines(&s.info, &row, 1);
        if (cmyk) cmykRowToRgb32(row, s.info.output_width);
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
    case GraphicKind::None: throw GraphicError("No graphic");
    }
    // A kind byte of a record that is none of the four.
    throw GraphicError("Unknown kind of graphic");
}

} // namespace pemvora::report
