// The window as the layers below see it, in memory, for tests: the rows and
// their selection, the message boxes, the extraction's fields, the totals
// labels, the notice's place and the two file dialogs, with a record of
// what was shown and asked. Access is serialised, so workers on other
// threads may use it as they use the window.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "actions/import_export.h"
#include "extract/extraction_form.h"
#include "model/prompts.h"
#include "model/proxy_list.h"
#include "model/row_selection.h"
#include "ui/notice_scroll.h"
#include "verify/verification.h"

namespace velmora::fakes {

struct ShownMessage {
    std::string text;
    bool warning = false;  // shown with the exclamation mark

    bool operator==(const ShownMessage&) const = default;
};

class MemoryWindow final : public model::ProxyList,
                           public model::Prompts,
                           public extract::ExtractionForm,
                           public verify::TotalsView,
                           public ui::NoticeLabel,
                           public actions::FileDialogs {
public:
    // The design-time filters: a count of 10, the rest empty.
    MemoryWindow();

    // model::ProxyList
    int rowCount() override;
    void withRows(const std::function<void(model::ProxyRows& rows)>& work) override;
    int currentRow() override;
    void setCurrentRow(int row) override;
    void ensureVisible(int row) override;
    void takeFocus() override;

    // model::Prompts
    void inform(std::string_view text) override;
    void warn(std::string_view text) override;

    // extract::ExtractionForm
    extract::Filters filters() override;
    std::string region() override;
    void keepResultText(std::string text) override;

    // verify::TotalsView
    void showSuccesses(std::string_view caption) override;
    void showFailures(std::string_view caption) override;

    // ui::NoticeLabel
    int left() override;
    void setLeft(int left) override;
    int width() override;
    int areaWidth() override;

    // actions::FileDialogs: answered as scripted.
    std::optional<std::filesystem::path> chooseFileToImport() override;
    std::optional<std::filesystem::path> chooseFileToExport() override;
    bool confirmReplace(const std::filesystem::path& file) override;

    // Set-up and inspection.
    std::vector<model::Row> rows();
    // The rows as given, as far as the table takes them; nothing selected.
    void setRows(std::vector<model::Row> rows);
    std::vector<ShownMessage> messages();
    void setFilters(extract::Filters filters);
    void setRegion(std::string region);
    std::string keptResultText();
    std::string successCaption();
    std::string failureCaption();
    // The answer the next dialogs give: a path, or nothing (cancelled).
    void scriptImport(std::optional<std::filesystem::path> answer);
    void scriptExport(std::optional<std::filesystem::path> answer);
    int importAsked();
    int exportAsked();
    // The answer to the question before a file is replaced, and the files
    // asked about.
    void scriptReplace(bool answer);
    std::vector<std::filesystem::path> replaceAsked();
    void setNoticeGeometry(int left, int width, int areaWidth);
    int focusCount();
    std::vector<int> ensureVisibleCalls();
    // Runs after every withRows() call, as the user acting between two
    // round trips would.
    void afterEachRowsTrip(std::function<void()> hook);

private:
    std::recursive_mutex mutex_;
    model::ProxyRows rows_;
    model::RowSelection selection_;
    std::vector<ShownMessage> messages_;
    extract::Filters filters_;
    std::string keptText_;
    std::string successes_ = "0个IP";
    std::string failures_ = "0个IP";
    int noticeLeft_ = 0;
    int noticeWidth_ = 728;
    int areaWidth_ = 479;
    std::optional<std::filesystem::path> importAnswer_;
    std::optional<std::filesystem::path> exportAnswer_;
    int importAsked_ = 0;
    int exportAsked_ = 0;
    bool replaceAnswer_ = false;
    std::vector<std::filesystem::path> replaceAsked_;
    int focusCount_ = 0;
    std::vector<int> ensureVisible_;
    std::function<void()> afterRowsTrip_;
};

}  // namespace velmora::fakes
