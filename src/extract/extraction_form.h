// The extraction's part of the window: the five filter fields, and the
// hidden box that keeps the text of the last proxies found. The window
// implements it; a worker may call it.
#pragma once

#include <string>

#include "extract/form.h"

namespace velmora::extract {

class ExtractionForm {
public:
    virtual ~ExtractionForm() = default;
    // The five filters as their controls hold them now.
    virtual Filters filters() = 0;
    // RegionEdit's text now.
    virtual std::string region() = 0;
    // Keeps `text` (the found lines), replacing what was kept before.
    virtual void keepResultText(std::string text) = 0;
};

}  // namespace velmora::extract
