#pragma once

#include "capture/picture.h"
#include "capture/tabledesktop.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A desktop of pictures for the capture tests: windows by id in stacking order (lowest id on
// top), each with a title and a picture. A window can vanish as its pixels are asked for, and
// clicks are recorded.
class PictureDesktop : public TableDesktop {
public:
    struct Window {
        std::string title;
        std::optional<Picture> picture;
    };
    std::map<uint32_t, Window> windows;
    std::vector<std::pair<uint32_t, std::pair<int, int>>> clicks;
    uint32_t vanishOnPixels = 0;

    std::vector<uint32_t> topLevelWindows() override
    {
        std::vector<uint32_t> ids;
        for (const auto& [id, w] : windows)
            ids.push_back(id);
        return ids;
    }
    std::string title(uint32_t id) override
    {
        const auto it = windows.find(id);
        return it == windows.end() ? std::string() : it->second.title;
    }
    std::unique_ptr<PixelSource> pixels(uint32_t id) override
    {
        if (id == vanishOnPixels)
            windows.erase(id);
        const auto it = windows.find(id);
        if (it == windows.end() || !it->second.picture)
            return nullptr;
        return std::make_unique<Picture>(*it->second.picture);
    }
    bool size(uint32_t id, int& w, int& h) override
    {
        const auto it = windows.find(id);
        if (it == windows.end() || !it->second.picture)
            return false;
        w = it->second.picture->width();
        h = it->second.picture->height();
        return true;
    }
    void click(uint32_t id, int x, int y) override { clicks.push_back({ id, { x, y } }); }
};
