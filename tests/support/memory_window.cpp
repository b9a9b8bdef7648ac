#include "ui/memory_controls.h"

namespace velmora::ui {

MemoryControls::MemoryControls() {
    // The design-time texts that the handlers read or that tests compare.
    texts_[kCountEdit] = "10";
    texts_[kSuccessTotalLabel] = "0个IP";
    texts_[kFailureTotalLabel] = "0个IP";
}

int MemoryControls::rowCount() {
    std::lock_guard lock(mutex_);
    return rows_.size();
}

int MemoryControls::insertRow(int position, std::string_view text) {
    std::lock_guard lock(mutex_);
    return rows_.insert(position, text);
}

void MemoryControls::setCellText(int row, int column, std::string_view text) {
    std::lock_guard lock(mutex_);
    rows_.setCell(row, column, text);
}

std::string MemoryControls::cellText(int row, int column) {
    std::lock_guard lock(mutex_);
    return rows_.cell(row, column);
}

void MemoryControls::deleteRow(int row) {
    std::lock_guard lock(mutex_);
    rows_.erase(row);
}

void MemoryControls::deleteAllRows() {
    std::lock_guard lock(mutex_);
    rows_.clear();
}

int MemoryControls::currentRow() {
    std::lock_guard lock(mutex_);
    return rows_.indexOf(selected_);
}

void MemoryControls::setCurrentRow(int row) {
    std::lock_guard lock(mutex_);
    // Like the list view: selecting a row that does not exist changes nothing.
    if (row < 0) {
        selected_ = kNoRow;
    } else if (row < rows_.size()) {
        selected_ = rows_.idAt(row);
    }
}

void MemoryControls::withRows(const std::function<void(ProxyRows& rows)>& work) {
    std::function<void()> hook;
    {
        std::lock_guard lock(mutex_);
        work(rows_);
        hook = afterRowsTrip_;
    }
    if (hook) hook();
}

void MemoryControls::ensureVisible(int row) {
    std::lock_guard lock(mutex_);
    ensureVisible_.push_back(row);
}

void MemoryControls::focusList() {
    std::lock_guard lock(mutex_);
    ++focusCount_;
}

std::string MemoryControls::text(ControlId id) {
    std::lock_guard lock(mutex_);
    auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

void MemoryControls::setText(ControlId id, std::string_view text) {
    std::lock_guard lock(mutex_);
    texts_[id] = std::string(text);
}

int MemoryControls::noticeLeft() {
    std::lock_guard lock(mutex_);
    return noticeLeft_;
}

void MemoryControls::setNoticeLeft(int left) {
    std::lock_guard lock(mutex_);
    noticeLeft_ = left;
}

int MemoryControls::noticeWidth() {
    std::lock_guard lock(mutex_);
    return noticeWidth_;
}

void MemoryControls::setStatusText(int panel, std::string_view text) {
    std::lock_guard lock(mutex_);
    if (panel < 0 || panel > 1) return;
    status_[static_cast<std::size_t>(panel)] = std::string(text);
}

void MemoryControls::setTitle(std::string_view title) {
    std::lock_guard lock(mutex_);
    title_ = std::string(title);
}

std::string MemoryControls::title() {
    std::lock_guard lock(mutex_);
    return title_;
}

int MemoryControls::clientWidth() {
    std::lock_guard lock(mutex_);
    return clientWidth_;
}

void MemoryControls::setDialogType(DialogId dialog, int type) {
    std::lock_guard lock(mutex_);
    dialogs_[static_cast<std::size_t>(dialog)].type = type;
}

bool MemoryControls::showDialog(DialogId dialog) {
    std::lock_guard lock(mutex_);
    auto& d = dialogs_[static_cast<std::size_t>(dialog)];
    ++d.shownCount;
    d.typeWhenShown = d.type;
    return d.confirm;
}

std::filesystem::path MemoryControls::dialogFileName(DialogId dialog) {
    std::lock_guard lock(mutex_);
    return dialogs_[static_cast<std::size_t>(dialog)].fileName;
}

void MemoryControls::popupListMenu(int screenX, int screenY) {
    std::lock_guard lock(mutex_);
    popups_.push_back({screenX, screenY});
}

void MemoryControls::messageBox(std::string_view text, std::string_view title,
                                MessageBoxIcon icon) {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::string(text), std::string(title), icon});
}

std::vector<Row> MemoryControls::rows() {
    std::lock_guard lock(mutex_);
    std::vector<Row> all;
    for (int r = 0; r < rows_.size(); ++r) {
        Row row;
        for (int c = 0; c < kColumnCount; ++c) row[static_cast<std::size_t>(c)] = rows_.cell(r, c);
        all.push_back(std::move(row));
    }
    return all;
}

void MemoryControls::setRows(std::vector<Row> rows) {
    std::lock_guard lock(mutex_);
    rows_.clear();
    for (Row& row : rows) rows_.append(std::move(row));
    selected_ = kNoRow;
}

std::string MemoryControls::statusText(int panel) {
    std::lock_guard lock(mutex_);
    if (panel < 0 || panel > 1) return {};
    return status_[static_cast<std::size_t>(panel)];
}

std::vector<ShownMessage> MemoryControls::messages() {
    std::lock_guard lock(mutex_);
    return messages_;
}

void MemoryControls::scriptDialog(DialogId dialog, bool confirm, std::filesystem::path fileName) {
    std::lock_guard lock(mutex_);
    auto& d = dialogs_[static_cast<std::size_t>(dialog)];
    d.confirm = confirm;
    d.fileName = std::move(fileName);
}

MemoryControls::DialogScript MemoryControls::dialog(DialogId dialog) {
    std::lock_guard lock(mutex_);
    return dialogs_[static_cast<std::size_t>(dialog)];
}

std::vector<MemoryControls::Popup> MemoryControls::popups() {
    std::lock_guard lock(mutex_);
    return popups_;
}

void MemoryControls::setNoticeGeometry(int left, int width, int clientWidth) {
    std::lock_guard lock(mutex_);
    noticeLeft_ = left;
    noticeWidth_ = width;
    clientWidth_ = clientWidth;
}

int MemoryControls::focusCount() {
    std::lock_guard lock(mutex_);
    return focusCount_;
}

std::vector<int> MemoryControls::ensureVisibleCalls() {
    std::lock_guard lock(mutex_);
    return ensureVisible_;
}

void MemoryControls::afterEachRowsTrip(std::function<void()> hook) {
    std::lock_guard lock(mutex_);
    afterRowsTrip_ = std::move(hook);
}

}  // namespace velmora::ui
