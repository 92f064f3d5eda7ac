// The pages the calculation report's renderer lays out (layoutDocument), read
// as it paints them: numbers on their decimal point, a table's heading row on
// every page it reaches, the header line "n / N" on every page after the
// title, nothing outside the printable rectangle.

#include "gui/PdfText.h"
#include "gui/ReportPdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPdfWriter>

#include <gtest/gtest.h>
#include <zlib.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

using namespace rahmen;

namespace {

Document numbersDocument() {
    Document d;
    d.title = "構造計算書";
    d.titleFields = {{"データ名", "frame"}};
    d.header = "frame　構造計算書";
    d.heading("1. 数値");
    DocumentTable t;
    t.columns = {{"行", "", false}, {"曲げモーメント", "kN·m", true}};
    const char* values[] = {"12", "3.50", "-1.25E+02", "100.125", "-0.5", "7", "12.50E-01"};
    for (int i = 0; i < 240; ++i)
        t.rows.push_back({"R" + std::to_string(i), values[i % 7]});
    d.table(t);
    return d;
}

Document wideDocument() {
    Document d = numbersDocument();
    d.heading("2. 部材端力");
    DocumentTable t;
    t.columns.push_back({"部材", "", false});
    for (int c = 0; c < 18; ++c)
        t.columns.push_back({"Mz" + std::to_string(c), "kN·m", true});
    for (int r = 0; r < 40; ++r) {
        std::vector<std::string> row{std::to_string(r + 1)};
        for (int c = 0; c < 18; ++c)
            row.push_back("-123456.789");
        t.rows.push_back(row);
    }
    d.table(t);
    std::string paragraph;
    for (int i = 0; i < 40; ++i)
        paragraph += "長い段落は頁の幅で折り返す。 The paragraph wraps at the page's width. ";
    d.paragraph(paragraph);
    Canvas picture(800, 400);
    picture.line(0, 0, 800, 400, 0);
    d.picture(picture, "骨組全体図");
    return d;
}

// Where the painter puts the text of an item: the x of its first character.
double textOrigin(const DocumentPageItem& item, QPaintDevice& device) {
    const double w = QFontMetricsF(item.font, &device).horizontalAdvance(item.text);
    if (item.flags & Qt::AlignRight) return item.rect.right() - w;
    if (item.flags & Qt::AlignHCenter) return item.rect.center().x() - w / 2;
    return item.rect.left();
}

struct Pdf {
    QBuffer buffer;
    std::unique_ptr<QPdfWriter> writer;
    Pdf() {
        buffer.open(QIODevice::WriteOnly);
        writer = std::make_unique<QPdfWriter>(&buffer);
        writer->setResolution(300);
    }
};

TEST(ReportLayout, EveryPageAfterTheTitleHasItsHeaderAndNothingLeavesThePrintableRectangle) {
    for (const Document& doc : {numbersDocument(), wideDocument()}) {
        Pdf pdf;
        const auto pages = layoutDocument(*pdf.writer, doc);
        const QRectF printable(QPointF(0, 0), pdf.writer->pageLayout().paintRectPixels(300).size());
        ASSERT_GE(pages.size(), 4u);
        const QString count = QString::number(pages.size());
        for (std::size_t p = 0; p < pages.size(); ++p) {
            const QString number = QString::number(p + 1) + " / " + count;
            bool name = false, n = false;
            for (const DocumentPageItem& item : pages[p].items) {
                name = name || item.text == QString::fromStdString(doc.header);
                n = n || item.text == number;
                const QRectF inside = printable.adjusted(-0.5, -0.5, 0.5, 0.5);
                EXPECT_TRUE(inside.contains(item.rect.topLeft()) &&
                            inside.contains(item.rect.bottomRight()))
                    << "page " << p + 1 << ": " << item.text.toStdString();
                if (item.kind != DocumentPageItem::Kind::Text) continue;
                // The text itself inside its box, as painted.
                const QRectF ink = QFontMetricsF(item.font, pdf.writer.get())
                                       .boundingRect(item.rect, item.flags, item.text);
                EXPECT_LE(ink.width(), item.rect.width() + 0.5)
                    << "page " << p + 1 << ": " << item.text.toStdString();
                EXPECT_LE(ink.height(), item.rect.height() + 0.5)
                    << "page " << p + 1 << ": " << item.text.toStdString();
            }
            EXPECT_EQ(name, !pages[p].title) << "page " << p + 1;
            EXPECT_EQ(n, !pages[p].title) << "page " << p + 1;
        }
        EXPECT_TRUE(pages.front().title);
    }
}

TEST(ReportLayout, ATableSplitOverPagesRepeatsItsHeadingAndKeepsEveryPointInOneColumn) {
    const Document doc = numbersDocument();
    const DocumentTable& table = doc.blocks.back().table;
    std::map<std::string, std::string> cells; // row label: number
    for (const auto& row : table.rows)
        cells[row[0]] = row[1];
    Pdf pdf;
    const auto pages = layoutDocument(*pdf.writer, doc);
    std::size_t rowsSeen = 0;
    int pagesWithRows = 0;
    double pointX = NAN;
    for (const DocumentPage& page : pages) {
        // The items of each line of the page, by their top edge.
        std::map<double, std::vector<const DocumentPageItem*>> lines;
        for (const DocumentPageItem& item : page.items)
            if (item.kind == DocumentPageItem::Kind::Text) lines[item.rect.top()].push_back(&item);
        double headingTop = NAN, firstRowTop = NAN;
        for (auto& [top, items] : lines) {
            std::sort(items.begin(), items.end(),
                      [](auto* a, auto* b) { return a->rect.left() < b->rect.left(); });
            const std::string label = items.front()->text.toStdString();
            if (label == "行" && items.size() == 2 && items[1]->text == "曲げモーメント")
                headingTop = top;
            const auto cell = cells.find(label);
            if (cell == cells.end()) continue;
            ++rowsSeen;
            if (std::isnan(firstRowTop)) firstRowTop = top;
            // The number as painted, and the x of its decimal point.
            std::string painted;
            double x = NAN;
            const std::size_t point = *decimalPointIndex(cell->second);
            for (std::size_t i = 1; i < items.size(); ++i) {
                const std::string part = items[i]->text.toStdString();
                if (std::isnan(x) && painted.size() + part.size() >= point && !part.empty())
                    x = textOrigin(*items[i], *pdf.writer) +
                        QFontMetricsF(items[i]->font, pdf.writer.get())
                            .horizontalAdvance(
                                QString::fromStdString(part.substr(0, point - painted.size())));
                painted += part;
            }
            EXPECT_EQ(painted, cell->second) << label;
            if (std::isnan(pointX)) pointX = x;
            EXPECT_NEAR(x, pointX, 0.5) << label << " " << cell->second;
        }
        if (std::isnan(firstRowTop)) continue;
        ++pagesWithRows;
        EXPECT_FALSE(std::isnan(headingTop)) << "page without the heading row";
        EXPECT_LT(headingTop, firstRowTop);
    }
    EXPECT_EQ(rowsSeen, table.rows.size());
    EXPECT_GE(pagesWithRows, 3);
}

// A PDF of one font whose ToUnicode CMap is `cmap`, deflated or not, with
// its cross-reference table.
std::string pdfWithCMap(const std::string& cmap, bool deflated) {
    std::string data = cmap;
    if (deflated) {
        uLongf size = compressBound(static_cast<uLong>(cmap.size()));
        data.assign(size, '\0');
        compress2(reinterpret_cast<Bytef*>(data.data()), &size,
                  reinterpret_cast<const Bytef*>(cmap.data()), static_cast<uLong>(cmap.size()), 9);
        data.resize(size);
    }
    const std::string objects[] = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [] /Count 0 >>",
        "<< /Type /Font /Subtype /Type0 /BaseFont /F /Encoding /Identity-H /ToUnicode 4 0 R >>",
        "<< /Length 5 0 R" + std::string(deflated ? " /Filter /FlateDecode" : "") +
            " >>\nstream\n" + data + "\nendstream",
        std::to_string(data.size())};
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < 5; ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 6\n0000000000 65535 f \n";
    char line[32];
    for (std::size_t o : offsets) {
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", o);
        pdf += line;
    }
    pdf += "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

TEST(PdfText, TheToUnicodeMapNamesTheIdeographsWhetherDeflatedOrNot) {
    ASSERT_EQ(std::system("command -v qpdf >/dev/null"), 0) << "qpdf (scripts/install-deps.sh)";
    const std::string cmap = "begincmap\n3 beginbfchar\n<0001> <2F47>\n<0002> <0041>\n"
                             "<0003> <2ED1FA6C>\nendbfchar\n2 beginbfrange\n"
                             "<0010> <0012> <2F00>\n<0020> <0021> [<2F3C> <0042>]\n"
                             "endbfrange\nendcmap\n";
    const std::string unified =
        "begincmap\n3 beginbfchar\n<0001> <65E5>\n<0002> <0041>\n"
        "<0003> <9577D850DEEE>\nendbfchar\n2 beginbfrange\n"
        "<0010> <0012> [<4E00> <4E28> <4E36>]\n<0020> <0021> [<5FC3> <0042>]\n"
        "endbfrange\nendcmap\n";
    EXPECT_EQ(unifyCMap(cmap), unified);
    const auto dir =
        std::filesystem::temp_directory_path() / ("rahmen_pdftext_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (bool deflated : {false, true}) {
        const std::string before = pdfWithCMap(cmap, deflated);
        const std::string after = unifyToUnicode(before);
        EXPECT_EQ(after.compare(0, before.size(), before), 0) << "an update appended";
        std::ofstream(dir / "in.pdf", std::ios::binary) << after;
        // qpdf reads the newest revision: its CMap decoded, the file sound.
        const std::string command = "cd '" + dir.string() +
                                    "' && qpdf --check in.pdf >check.txt 2>&1 && qpdf "
                                    "--show-object=4 --filtered-stream-data in.pdf >cmap.txt";
        EXPECT_EQ(std::system(command.c_str()), 0) << deflated;
        std::ifstream in(dir / "cmap.txt", std::ios::binary);
        std::ostringstream read;
        read << in.rdbuf();
        EXPECT_EQ(read.str(), unified) << deflated;
        EXPECT_EQ(unifyToUnicode(after), after) << "nothing left to change";
    }
    std::filesystem::remove_all(dir);
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
