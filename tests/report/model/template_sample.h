#pragma once
// A template with a bit of everything: a text object of every alignment, a
// band of every kind, a JPEG picture, a line, a dialog page, dictionary
// entries and report information.

#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"

#include <QBuffer>
#include <QImage>

#include <string>

namespace pemvora::report::test {

inline std::string sampleJpeg()
{
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    image.setPixelColor(1, 1, Qt::white);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return data.toStdString();
}

inline void buildSample(TfrReport& report)
{
    report.Information = {"Cheque", "Pemvora", "\xD6\xA7\xC6\xB1", "1", "0", "0", "7"};
    report.Dictionary.VarList.SetVariable(" Cheque", Value(""));
    report.Dictionary.VarList.SetVariable("Amount", Value("[dx]"));
    report.Dictionary.AliasList.SetVariable("Table1", Value("Cheques"));

    TfrPage& page = report.Pages.Items(report.Pages.Add());
    page.Name = "Page1";
    page.ApplyPaper({256, 1750, 800, 0, -1});
    page.ScriptLines = {"begin", "end"};
    int n = 0;
    for (std::uint32_t vertical : {0u, textalign::Middle, textalign::Bottom}) {
        for (std::uint32_t horizontal = 0; horizontal < 4; ++horizontal) {
            for (std::uint32_t rotated : {0u, textalign::Rotated}) {
                auto& memo = page.Add<TfrMemoView>();
                memo.Name = "Memo" + std::to_string(++n);
                memo.PlaceAt(10 * n, 5 * n, 80, 20);
                memo.Alignment = vertical | horizontal | rotated;
                memo.Memo = {"[dx]", "\xB4\xF3\xD0\xB4 " + std::to_string(n)};
                memo.Font.Name = "\xCB\xCE\xCC\xE5";
                memo.FrameWidth = n % 2 ? 1.0f : 0.5f;
                memo.FrameTyp = static_cast<std::uint16_t>(n % 16);
            }
        }
    }
    for (int k = 0; k <= bandkind::None; ++k) {
        auto& band = page.Add<TfrBandView>();
        band.Name = "Band" + std::to_string(k + 1);
        band.SetBandKind(k);
        band.PlaceAt(0, 40 * k, 600, 30);
        if (bandkind::isData(k)) band.DisplayFormatText = "Source1";
    }
    auto& picture = page.Add<TfrPictureView>();
    picture.Name = "Picture1";
    picture.PlaceAt(400, 10, 60, 40);
    picture.BlobType = blobtype::Jpeg;
    picture.Picture = {GraphicKind::Jpeg, sampleJpeg()};
    auto& line = page.Add<TfrLineView>();
    line.Name = "Line1";
    line.PlaceAt(0, 100, 300, 0);
    line.FrameWidth = 2.0f;

    TfrPage& dialog = report.Pages.Items(report.Pages.Add());
    dialog.Type = pagetype::Dialog;
    dialog.Name = "Dialog";
    dialog.Caption = "Ask";
}

} // namespace pemvora::report::test
