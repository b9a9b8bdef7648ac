// The texts and places of the window's controls, as the layers below read
// and write them: the extraction's filter fields and result box, the two
// totals labels, and the scrolling notice. Every call is carried out on the
// window thread.
#pragma once

#include <string>
#include <string_view>

#include "extract/extraction_form.h"
#include "ui/notice_scroll.h"
#include "verify/verification.h"

namespace velmora::ui {

class MainWindow;

class WindowExtractionForm final : public extract::ExtractionForm {
public:
    explicit WindowExtractionForm(MainWindow& window) : window_(window) {}
    extract::Filters filters() override;
    std::string region() override;
    void keepResultText(std::string text) override;

private:
    MainWindow& window_;
};

class WindowTotals final : public verify::TotalsView {
public:
    explicit WindowTotals(MainWindow& window) : window_(window) {}
    void showSuccesses(std::string_view caption) override;
    void showFailures(std::string_view caption) override;

private:
    MainWindow& window_;
};

// The notice's place in the 96-DPI pixels of the layout, whatever the
// window's DPI: it then runs across the window at the same pace at every
// scale.
class WindowNotice final : public NoticeLabel {
public:
    explicit WindowNotice(MainWindow& window) : window_(window) {}
    int left() override;
    void setLeft(int left) override;
    int width() override;
    int areaWidth() override;

private:
    MainWindow& window_;
};

}  // namespace velmora::ui
