// The proxy file: one proxy text per line, GBK bytes, no header or trailer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "actions/proxy_text.h"
#include "model/proxy_list.h"

namespace velmora::actions {

// Bytes read front to back: a file, or a text in tests.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills up to `size` bytes and returns how many, 0 at the end; nothing
    // when the read failed.
    virtual std::optional<std::size_t> read(char* buffer, std::size_t size) = 0;
};

// Longer lines are skipped whole: no proxy text comes near this, and it keeps
// a binary file without line ends from being held in memory.
inline constexpr std::size_t kMaxProxyLineBytes = 64 * 1024;
// Cuts a byte stream into lines and appends a row, marked "本地", for every
// line that splits into exactly two pieces at ":". A line ends at LF, at a
// zero byte and at 0x1A; one CR before its end is dropped; reading goes on
// after the end, so nothing after a stray zero or 0x1A byte is lost. The rows
// reach the list in batches, each in one round trip, as long as the list is
// still of the generation `fill` (the one the import cleared).
class ProxyFileReader {
public:
    ProxyFileReader(model::ProxyList& list, model::Generation fill,
                    int maxRows = model::kMaxListedRows)
        : list_(list), fill_(fill), maxRows_(maxRows) {}

    // Takes the next bytes of the stream; the line in progress carries over.
    void feed(std::string_view bytes);
    // The last line needs no line end. Sends the rows still waiting.
    void finish();
    // Learns, in one round trip, whether the list is still the one being
    // filled, as a batch of rows would; for long stretches without any.
    void checkCurrent();
    // True once a proxy line beyond `maxRows` rows was met, or the list
    // refused a row because it was full; later bytes are ignored.
    bool truncated() const { return truncated_; }
    // True once the list has moved on to another generation; later bytes
    // are ignored.
    bool abandoned() const { return abandoned_; }
    bool done() const { return truncated_ || abandoned_; }
    int rowsAdded() const { return rowsAdded_; }

private:
    void take(std::string_view part);
    void endLine();
    void flush();

    model::ProxyList& list_;
    model::Generation fill_;
    int maxRows_;
    std::string line_;
    bool overlong_ = false;
    bool truncated_ = false;
    bool abandoned_ = false;
    int rowsAdded_ = 0;
    std::vector<ProxyPieces> waiting_;
};

// Empties the list in one round trip and returns the generation that starts;
// 0 once the window is gone.
model::Generation clearForFill(model::ProxyList& list);

// How an import ended.
enum class ImportEnd {
    Unreadable,  // the first read failed: the list was left as it was
    Whole,       // read to the end
    Limited,     // more proxies than the list takes: the first ones are listed
    Broken,      // a read failed part way: the proxies before it are listed
    Abandoned,   // the list was cleared or replaced meanwhile, or the window went
};

// Empties the list once the source's first bytes could be read, then reads
// the source into it through a ProxyFileReader, a chunk at a time, so that
// memory stays small whatever the size of the source.
ImportEnd importProxies(ByteSource& source, model::ProxyList& list);

// Column 1 + ":" + column 2 + CR LF for every row, first to last.
std::string proxyFileText(model::ProxyList& list);

}  // namespace velmora::actions
