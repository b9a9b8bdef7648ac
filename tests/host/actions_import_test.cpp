#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "actions/import_export.h"
#include "actions/proxy_file.h"
#include "support/memory_window.h"

namespace velmora::actions {
namespace {

using namespace std::string_literals;
using fakes::MemoryWindow;
using model::Row;

// Hands out a text in pieces of a fixed size, as a file read in chunks.
class TextSource final : public ByteSource {
public:
    TextSource(std::string text, std::size_t piece) : text_(std::move(text)), piece_(piece) {}
    std::size_t read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, piece_, text_.size() - at_});
        text_.copy(buffer, n, at_);
        at_ += n;
        return n;
    }

private:
    std::string text_;
    std::size_t piece_;
    std::size_t at_ = 0;
};

std::vector<Row> importText(const std::string& text, std::size_t piece = 1 << 16) {
    MemoryWindow window;
    TextSource source(text, piece);
    readProxyFile(source, window, clearForFill(window));
    return window.rows();
}

Row local(std::string number, std::string address, std::string port) {
    return {std::move(number), std::move(address), std::move(port), "", "", "本地"};
}

TEST(ImportProxies, LineRules) {
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::pair<std::string, std::string>> proxies;
    };
    const std::vector<Case> cases = {
        {"proxy, empty line, other text", "1.2.3.4:8080\n\nabc", {{"1.2.3.4", "8080"}}},
        {"CR LF ends",
         "1.2.3.4:8080\r\n5.6.7.8:3128\r\n",
         {{"1.2.3.4", "8080"}, {"5.6.7.8", "3128"}}},
        {"only one CR goes", "a:b\r\r\n", {{"a", "b\r"}}},
        {"CR alone is no line end", "a:b\rc:d\n", {}},
        {"last line without end", "1.2.3.4:80", {{"1.2.3.4", "80"}}},
        {"last line CR at end", "1.2.3.4:80\r", {{"1.2.3.4", "80"}}},
        {"empty file", "", {}},
        {"only line ends", "\n\r\n\n", {}},
        {"IPv6 and three pieces", "[::1]:8080\n::1\n1:2:3\n", {}},
        {"colon alone, empty port", ":\n1.2.3.4:\n", {}},
        {"empty address", ":8080\n", {{"", "8080"}}},
        {"blanks kept", " 1.2.3.4 : 80 \n", {{" 1.2.3.4 ", " 80 "}}},
        {"zero byte ends a line, reading goes on",
         "1.2.3.4:80\0"s
         "5.6.7.8:81\n",
         {{"1.2.3.4", "80"}, {"5.6.7.8", "81"}}},
        {"0x1A ends a line, reading goes on",
         "1.2.3.4:80\x1a"
         "5.6.7.8:81",
         {{"1.2.3.4", "80"}, {"5.6.7.8", "81"}}},
        {"zero byte inside a proxy cuts it",
         "1.2.3\0"s
         ".4:80\n",
         {{".4", "80"}}},
        {"zero byte after CR", "a:b\r\0"s, {{"a", "b"}}},
        {"lead byte before LF does not hide it", "abc\x81\n1.2.3.4:80\n", {{"1.2.3.4", "80"}}},
        {"GBK text", "代理:端口\n", {{"代理", "端口"}}},
    };
    for (const Case& c : cases) {
        for (const std::size_t piece :
             {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1} << 16}) {
            std::vector<Row> expected;
            for (const auto& [address, port] : c.proxies) {
                expected.push_back(local(std::to_string(expected.size() + 1), address, port));
            }
            EXPECT_EQ(importText(c.file, piece), expected)
                << c.name << ", read in pieces of " << piece;
        }
    }
}

TEST(ImportProxies, OverlongLinesAreSkippedWhole) {
    const std::string limit(kMaxProxyLineBytes - 3,
                            'x');  // "a" + limit + ":1" is the longest line kept
    const std::string over(kMaxProxyLineBytes + 1, 'y');
    const std::string file =
        "a" + limit + ":1\r\n" + "b:" + over + "\n" + "1.2.3.4:80\n" + over + ":2";
    for (const std::size_t piece : {std::size_t{1000}, std::size_t{1} << 16}) {
        const std::vector<Row> rows = importText(file, piece);
        ASSERT_EQ(rows.size(), 2U);
        EXPECT_EQ(rows[0][1], "a" + limit);
        EXPECT_EQ(rows[1], local("2", "1.2.3.4", "80"));
    }
}

TEST(ImportProxies, HundredThousandLines) {
    std::string file;
    for (int i = 0; i < 100'000; ++i)
        file += "10.0." + std::to_string(i / 256 % 256) + "." + std::to_string(i % 256) + ":" +
                std::to_string(1000 + i % 50000) + "\r\n";
    const std::vector<Row> rows = importText(file);
    ASSERT_EQ(rows.size(), 100'000U);
    EXPECT_EQ(rows.back(), local("100000", "10.0.134.159", "50999"));
}

TEST(ImportProxies, BinaryFileEndsWithCleanRows) {
    std::mt19937 random(20240601);
    std::string file(1 << 20, '\0');
    for (char& byte : file) byte = static_cast<char>(random() & 0xFF);
    const std::vector<Row> rows = importText(file, 4096);
    EXPECT_FALSE(rows.empty());
    for (const Row& row : rows) {
        for (const std::string& cell : {row[1], row[2]}) {
            EXPECT_EQ(cell.find_first_of("\n\0\x1a"s), std::string::npos);
        }
    }
}

TEST(ImportProxies, StopsAtTheRowLimitAndSaysSoOnlyWhenMoreFollow) {
    for (const std::string file : {"a:1\nb:2\n\nnone\n", "a:1\nb:2\nc:3\nd:4\n"}) {
        MemoryWindow window;
        TextSource source(file, 3);
        ProxyFileReader reader(window, clearForFill(window), 2);
        std::string chunk(3, '\0');
        while (const std::size_t n = source.read(chunk.data(), chunk.size()))
            reader.feed({chunk.data(), n});
        reader.finish();
        EXPECT_EQ(reader.truncated(), file.find("c:3") != std::string::npos) << file;
        EXPECT_EQ(window.rows(), (std::vector<Row>{local("1", "a", "1"), local("2", "b", "2")}));
    }
}

TEST(ImportProxies, CancelledDialogLeavesTheList) {
    MemoryWindow window;
    window.setRows({local("1", "9.9.9.9", "1")});
    window.scriptImport(std::nullopt);
    bool opened = false;
    importProxyFile(window, window, window, [&](const std::filesystem::path&) {
        opened = true;
        return std::unique_ptr<ByteSource>();
    });
    EXPECT_FALSE(opened);
    EXPECT_EQ(window.rowCount(), 1);
    EXPECT_EQ(window.importAsked(), 1);
}

TEST(ImportProxies, ListIsClearedBeforeTheFileOpens) {
    MemoryWindow window;
    window.setRows({local("1", "9.9.9.9", "1"), local("2", "8.8.8.8", "2")});
    window.scriptImport("C:\\proxies\\list.txt");
    std::filesystem::path openedPath;
    int rowsWhenOpened = -1;
    importProxyFile(window, window, window, [&](const std::filesystem::path& path) {
        openedPath = path;
        rowsWhenOpened = window.rowCount();
        return std::unique_ptr<ByteSource>();  // the file cannot be opened
    });
    EXPECT_EQ(openedPath, "C:\\proxies\\list.txt");
    EXPECT_EQ(rowsWhenOpened, 0);
    EXPECT_EQ(window.rowCount(), 0);

    importProxyFile(window, window, window, [](const std::filesystem::path&) {
        return std::make_unique<TextSource>("1.2.3.4:8080\n", 64);
    });
    EXPECT_EQ(window.rows(), (std::vector<Row>{local("1", "1.2.3.4", "8080")}));
}

struct WrittenFile {
    int writes = 0;
    std::filesystem::path path;
    std::string bytes;
};

FileWriter recordTo(WrittenFile& file) {
    return [&file](const std::filesystem::path& path, std::string_view bytes) {
        ++file.writes;
        file.path = path;
        file.bytes = std::string(bytes);
        return true;
    };
}

TEST(ExportProxies, WritesEveryRowWithCrLfToTheNamePlusTxt) {
    MemoryWindow window;
    window.setRows(
        {{"1", "1.2.3.4", "8080", "成功", "极快", "全国"}, {"2", "5.6.7.8", "3128", "", "", ""}});
    window.scriptExport("C:\\out\\list.txt");
    WrittenFile file;
    exportProxyFile(window, window, recordTo(file));
    EXPECT_EQ(file.writes, 1);
    EXPECT_EQ(file.path, "C:\\out\\list.txt.txt");
    EXPECT_EQ(file.bytes, "1.2.3.4:8080\r\n5.6.7.8:3128\r\n");
    EXPECT_EQ(window.exportAsked(), 1);
}

TEST(ExportProxies, EmptyListWritesAnEmptyFileAndCancelWritesNothing) {
    MemoryWindow window;
    window.scriptExport("empty");
    WrittenFile file;
    exportProxyFile(window, window, recordTo(file));
    EXPECT_EQ(file.writes, 1);
    EXPECT_EQ(file.path, "empty.txt");
    EXPECT_EQ(file.bytes, "");

    window.setRows({local("1", "1.2.3.4", "80")});
    window.scriptExport(std::nullopt);
    exportProxyFile(window, window, recordTo(file));
    EXPECT_EQ(file.writes, 1);
}

TEST(ExportProxies, ExportedTextImportsBackToTheSameProxies) {
    MemoryWindow source;
    source.setRows({{"1", "1.2.3.4", "8080", "", "", ""},
                    {"2", "代理", "端口", "", "", ""},
                    {"3", "", "", "", "", ""}});
    const std::string text = proxyFileText(source);
    // The empty row exports as ":" and cannot come back; the others do.
    EXPECT_EQ(importText(text, 5),
              (std::vector<Row>{local("1", "1.2.3.4", "8080"), local("2", "代理", "端口")}));
}

}  // namespace
}  // namespace velmora::actions
