#include "support/memory_window.h"

#include <utility>

namespace velmora::fakes {

MemoryWindow::MemoryWindow() { filters_.count = "10"; }

int MemoryWindow::rowCount() {
    std::lock_guard lock(mutex_);
    return rows_.size();
}

void MemoryWindow::withRows(const std::function<void(model::ProxyRows& rows)>& work) {
    std::function<void()> hook;
    {
        std::lock_guard lock(mutex_);
        work(rows_);
        rows_.takeChanges();
        hook = afterRowsTrip_;
    }
    if (hook) hook();
}

int MemoryWindow::currentRow() {
    std::lock_guard lock(mutex_);
    return selection_.index(rows_);
}

void MemoryWindow::setCurrentRow(int row) {
    std::lock_guard lock(mutex_);
    selection_.select(rows_, row);
}

void MemoryWindow::ensureVisible(int row) {
    std::lock_guard lock(mutex_);
    ensureVisible_.push_back(row);
}

void MemoryWindow::takeFocus() {
    std::lock_guard lock(mutex_);
    ++focusCount_;
}

void MemoryWindow::inform(std::string_view text) {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::string(text), false});
}

void MemoryWindow::warn(std::string_view text) {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::string(text), true});
}

extract::Filters MemoryWindow::filters() {
    std::lock_guard lock(mutex_);
    return filters_;
}

std::string MemoryWindow::region() {
    std::lock_guard lock(mutex_);
    return filters_.region;
}

void MemoryWindow::keepResultText(std::string text) {
    std::lock_guard lock(mutex_);
    keptText_ = std::move(text);
}

void MemoryWindow::showSuccesses(std::string_view caption) {
    std::lock_guard lock(mutex_);
    successes_ = std::string(caption);
}

void MemoryWindow::showFailures(std::string_view caption) {
    std::lock_guard lock(mutex_);
    failures_ = std::string(caption);
}

int MemoryWindow::left() {
    std::lock_guard lock(mutex_);
    return noticeLeft_;
}

void MemoryWindow::setLeft(int left) {
    std::lock_guard lock(mutex_);
    noticeLeft_ = left;
}

int MemoryWindow::width() {
    std::lock_guard lock(mutex_);
    return noticeWidth_;
}

int MemoryWindow::areaWidth() {
    std::lock_guard lock(mutex_);
    return areaWidth_;
}

std::optional<std::filesystem::path> MemoryWindow::chooseFileToImport() {
    std::lock_guard lock(mutex_);
    ++importAsked_;
    return importAnswer_;
}

std::optional<std::filesystem::path> MemoryWindow::chooseFileToExport() {
    std::lock_guard lock(mutex_);
    ++exportAsked_;
    return exportAnswer_;
}

std::vector<model::Row> MemoryWindow::rows() {
    std::lock_guard lock(mutex_);
    std::vector<model::Row> all;
    for (int r = 0; r < rows_.size(); ++r) {
        model::Row row;
        for (int c = 0; c < model::kColumnCount; ++c) row[static_cast<std::size_t>(c)] = rows_.cell(r, c);
        all.push_back(std::move(row));
    }
    return all;
}

void MemoryWindow::setRows(std::vector<model::Row> rows) {
    std::lock_guard lock(mutex_);
    rows_.clear();
    for (model::Row& row : rows) rows_.append(std::move(row));
    selection_.clear();
}

std::vector<ShownMessage> MemoryWindow::messages() {
    std::lock_guard lock(mutex_);
    return messages_;
}

void MemoryWindow::setFilters(extract::Filters filters) {
    std::lock_guard lock(mutex_);
    filters_ = std::move(filters);
}

void MemoryWindow::setRegion(std::string region) {
    std::lock_guard lock(mutex_);
    filters_.region = std::move(region);
}

std::string MemoryWindow::keptResultText() {
    std::lock_guard lock(mutex_);
    return keptText_;
}

std::string MemoryWindow::successCaption() {
    std::lock_guard lock(mutex_);
    return successes_;
}

std::string MemoryWindow::failureCaption() {
    std::lock_guard lock(mutex_);
    return failures_;
}

void MemoryWindow::scriptImport(std::optional<std::filesystem::path> answer) {
    std::lock_guard lock(mutex_);
    importAnswer_ = std::move(answer);
}

void MemoryWindow::scriptExport(std::optional<std::filesystem::path> answer) {
    std::lock_guard lock(mutex_);
    exportAnswer_ = std::move(answer);
}

int MemoryWindow::importAsked() {
    std::lock_guard lock(mutex_);
    return importAsked_;
}

bool MemoryWindow::confirmReplace(const std::filesystem::path& file) {
    std::lock_guard lock(mutex_);
    replaceAsked_.push_back(file);
    return replaceAnswer_;
}

void MemoryWindow::scriptReplace(bool answer) {
    std::lock_guard lock(mutex_);
    replaceAnswer_ = answer;
}

std::vector<std::filesystem::path> MemoryWindow::replaceAsked() {
    std::lock_guard lock(mutex_);
    return replaceAsked_;
}

int MemoryWindow::exportAsked() {
    std::lock_guard lock(mutex_);
    return exportAsked_;
}

void MemoryWindow::setNoticeGeometry(int left, int width, int areaWidth) {
    std::lock_guard lock(mutex_);
    noticeLeft_ = left;
    noticeWidth_ = width;
    areaWidth_ = areaWidth;
}

int MemoryWindow::focusCount() {
    std::lock_guard lock(mutex_);
    return focusCount_;
}

std::vector<int> MemoryWindow::ensureVisibleCalls() {
    std::lock_guard lock(mutex_);
    return ensureVisible_;
}

void MemoryWindow::afterEachRowsTrip(std::function<void()> hook) {
    std::lock_guard lock(mutex_);
    afterRowsTrip_ = std::move(hook);
}

}  // namespace velmora::fakes
