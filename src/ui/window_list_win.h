// ProxyList of the real window: every call is carried out on the window
// thread, so a worker waits while the window thread does it.
#pragma once

#include "model/proxy_list.h"

namespace velmora::ui {

class MainWindow;

class WindowProxyList final : public model::ProxyList {
public:
    explicit WindowProxyList(MainWindow& window) : window_(window) {}

    int rowCount() override;
    void withRows(const std::function<void(model::ProxyRows& rows)>& work) override;
    int currentRow() override;
    void setCurrentRow(int row) override;
    void ensureVisible(int row) override;
    void takeFocus() override;

private:
    MainWindow& window_;
};

}  // namespace velmora::ui
