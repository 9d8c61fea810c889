#pragma once
// Small JPEG files of four-ink colour, written with libjpeg the way image
// editors write them: the inks inverted (255 no ink) and the Adobe marker that
// says so. `ycck` stores them as YCCK, libjpeg's other four-component form.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace pemvora::report::test {

struct Inks {
    int c, m, y, k;   // 0 no ink, 255 full ink
};

inline std::string cmykJpeg(int width, int height, Inks inks, bool ycck)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, ycck ? JCS_YCCK : JCS_CMYK);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
    for (int x = 0; x < width; ++x) {
        row[4 * x + 0] = static_cast<unsigned char>(255 - inks.c);
        row[4 * x + 1] = static_cast<unsigned char>(255 - inks.m);
        row[4 * x + 2] = static_cast<unsigned char>(255 - inks.y);
        row[4 * x + 3] = static_cast<unsigned char>(255 - inks.k);
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

} // namespace pemvora::report::test
