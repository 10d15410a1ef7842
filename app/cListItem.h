#pragma once
// One catalogue item of the current list, with its cell in the grid.
#include <cstdint>
#include <string>

struct cListItem {
    std::wstring Value;      // title: the element's text
    std::wstring id;         // id exactly as the server wrote it
    bool selected = false;
    std::wstring filetype;   // thumbnail file extension, without the dot
    std::wstring tooltip;    // kept for the record layout; nothing sets or reads it
    std::int16_t top = 0;    // cell y on the grid picture, pixels
    std::int16_t left = 0;   // cell x, pixels
    std::int16_t itemwidth = 0;
    bool foto = false;       // the thumbnail has been looked for in the cache
};
