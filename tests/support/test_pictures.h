#pragma once
// Tests keep pictures (renders, screenshots, PDF files) for a person to look at
// when PEMVORA_TEST_PICTURES names a folder, and save nothing otherwise.

#include <QString>

#include <cstdlib>
#include <optional>

namespace pemvora::testsupport {

// Where to save the picture `fileName` ("login.png"), or nullopt when pictures are not kept.
inline std::optional<QString> testPicturePath(const char* fileName)
{
    const char* dir = std::getenv("PEMVORA_TEST_PICTURES");
    if (!dir || !*dir) return std::nullopt;
    return QString::fromUtf8(dir) + "/" + QString::fromUtf8(fileName);
}

} // namespace pemvora::testsupport
