#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
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

// Hands out a text in pieces of a fixed size, as a file read in chunks; a
// read that would go past `failAt` fails, as on a disk that breaks.
class TextSource final : public ByteSource {
public:
    TextSource(std::string text, std::size_t piece, std::size_t failAt = SIZE_MAX)
        : text_(std::move(text)), piece_(piece), failAt_(failAt) {}
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min({size, piece_, text_.size() - at_});
        if (at_ + n > failAt_) return std::nullopt;
        text_.copy(buffer, n, at_);
        at_ += n;
        return n;
    }

private:
    std::string text_;
    std::size_t piece_;
    std::size_t failAt_;
    std::size_t at_ = 0;
};

void runAtOnce(const std::function<void()>& read) { read(); }

std::vector<Row> importText(const std::string& text, std::size_t piece = 1 << 16) {
    MemoryWindow window;
    TextSource source(text, piece);
    importProxies(source, window);
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
        while (const std::size_t n = source.read(chunk.data(), chunk.size()).value_or(0))
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
    }, runAtOnce);
    EXPECT_FALSE(opened);
    EXPECT_EQ(window.rowCount(), 1);
    EXPECT_EQ(window.importAsked(), 1);
}

// The list goes only once the chosen file could be read; a file that cannot
// be opened or read leaves it as it was, and the user is told.
TEST(ImportProxies, TheListStaysUntilTheFileCouldBeRead) {
    MemoryWindow window;
    const std::vector<Row> before = {local("1", "9.9.9.9", "1"), local("2", "8.8.8.8", "2")};
    window.setRows(before);
    window.scriptImport("C:\\proxies\\list.txt");
    std::filesystem::path openedPath;
    importProxyFile(window, window, window, [&](const std::filesystem::path& path) {
        openedPath = path;
        return std::unique_ptr<ByteSource>();  // held by another program, or gone
    }, runAtOnce);
    EXPECT_EQ(openedPath, "C:\\proxies\\list.txt");
    importProxyFile(window, window, window, [](const std::filesystem::path&) {
        return std::make_unique<TextSource>("1.2.3.4:8080\n", 64, 0);  // opens, cannot be read
    }, runAtOnce);
    EXPECT_EQ(window.rows(), before);
    EXPECT_EQ(window.messages(), (std::vector<fakes::ShownMessage>(2, {importUnreadableMessage()})));

    // A read that fails part way keeps what came before it, and says so.
    importProxyFile(window, window, window, [](const std::filesystem::path&) {
        return std::make_unique<TextSource>("1.2.3.4:8080\n5.6.7.8:3128\n", 13, 20);
    }, runAtOnce);
    EXPECT_EQ(window.rows(), (std::vector<Row>{local("1", "1.2.3.4", "8080")}));
    EXPECT_EQ(window.messages().back().text, importBrokenMessage());

    importProxyFile(window, window, window, [](const std::filesystem::path&) {
        return std::make_unique<TextSource>("5.6.7.8:3128\n", 64);
    }, runAtOnce);
    EXPECT_EQ(window.rows(), (std::vector<Row>{local("1", "5.6.7.8", "3128")}));
    EXPECT_EQ(window.messages().size(), 3U);
}

// Endless junk that holds no proxy: no batch of rows would notice a list
// cleared meanwhile, yet the read ends within a few megabytes of it.
TEST(ImportProxies, AClearedListEndsAReadThatFindsNoProxies) {
    class Junk final : public ByteSource {
    public:
        std::optional<std::size_t> read(char* buffer, std::size_t size) override {
            std::fill_n(buffer, size, 'x');
            buffer[size - 1] = '\n';
            total += size;
            return size;
        }
        std::size_t total = 0;
    } junk;
    MemoryWindow window;
    std::size_t clearedAt = 0;
    window.afterEachRowsTrip([&] {
        if (clearedAt == 0) {
            clearedAt = junk.total;
            window.setRows({});
        }
    });
    EXPECT_EQ(importProxies(junk, window), ImportEnd::Abandoned);
    EXPECT_LE(junk.total - clearedAt, std::size_t{8} << 20);
}

// Files in memory: what exists, and every write that reached one.
struct Files {
    std::map<std::filesystem::path, std::string> contents;
    int writes = 0;
    bool failing = false;

    FileWriter writer() {
        return [this](const std::filesystem::path& path, std::string_view bytes, bool replace) {
            if (failing) return WriteResult::Failed;
            if (!replace && contents.count(path)) return WriteResult::Exists;
            ++writes;
            contents[path] = std::string(bytes);
            return WriteResult::Written;
        };
    }
};

TEST(ExportProxies, WritesEveryRowWithCrLfToTheNamePlusTxt) {
    MemoryWindow window;
    window.setRows(
        {{"1", "1.2.3.4", "8080", "成功", "极快", "全国"}, {"2", "5.6.7.8", "3128", "", "", ""}});
    window.scriptExport("C:\\out\\list.txt");
    Files files;
    exportProxyFile(window, window, window, files.writer());
    EXPECT_EQ(files.contents, (std::map<std::filesystem::path, std::string>{
                                  {"C:\\out\\list.txt.txt", "1.2.3.4:8080\r\n5.6.7.8:3128\r\n"}}));
    EXPECT_EQ(window.exportAsked(), 1);
    EXPECT_TRUE(window.replaceAsked().empty());
}

TEST(ExportProxies, EmptyListWritesAnEmptyFileAndCancelWritesNothing) {
    MemoryWindow window;
    window.scriptExport("empty");
    Files files;
    exportProxyFile(window, window, window, files.writer());
    EXPECT_EQ(files.contents.at("empty.txt"), "");

    window.setRows({local("1", "1.2.3.4", "80")});
    window.scriptExport(std::nullopt);
    exportProxyFile(window, window, window, files.writer());
    EXPECT_EQ(files.writes, 1);
}

// "list" typed where list.txt exists: the question is about list.txt, and
// only a yes replaces it. A file that cannot be written is said so.
TEST(ExportProxies, AnExistingFileIsReplacedOnlyAfterAYesAboutThatFile) {
    MemoryWindow window;
    window.setRows({local("1", "1.2.3.4", "80")});
    window.scriptExport("C:\\out\\list");
    Files files;
    files.contents["C:\\out\\list.txt"] = "the user's own list";
    exportProxyFile(window, window, window, files.writer());
    EXPECT_EQ(window.replaceAsked(), std::vector<std::filesystem::path>{"C:\\out\\list.txt"});
    EXPECT_EQ(files.contents.at("C:\\out\\list.txt"), "the user's own list");

    window.scriptReplace(true);
    exportProxyFile(window, window, window, files.writer());
    EXPECT_EQ(files.contents.at("C:\\out\\list.txt"), "1.2.3.4:80\r\n");
    EXPECT_TRUE(window.messages().empty());

    files.failing = true;
    exportProxyFile(window, window, window, files.writer());
    EXPECT_EQ(window.messages(), (std::vector<fakes::ShownMessage>{{exportFailedMessage(), true}}));
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
