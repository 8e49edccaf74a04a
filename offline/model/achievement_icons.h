// Achievement icons as Steam serves them: GetAchievementIcon hands out an
// image handle once the icon was fetched (the first ask answers 0 and posts
// UserAchievementIconFetched_t), and ISteamUtils reads the image by that
// handle as RGBA. An icon is the scenario's PNG file, decoded by the decoder
// the client installs (libpng), else a plain generated 64 x 64 icon.
// Callers hold the ModelGuard.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace offline_steam {

struct RgbaImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<unsigned char> rgba;  // width * height * 4 bytes, rows top first
};

// Decodes the PNG file at `path` into RGBA; false when it cannot.
using PngDecoder = bool (*)(const std::string& path, RgbaImage* image);
// The decoder icons from files go through; null (the default) serves every
// icon as the generated one.
void InstallPngDecoder(PngDecoder decoder);

// The plain icon served without a file: 64 x 64, a coloured square for the
// achieved icon and a grey one for the unachieved.
RgbaImage GeneratedIcon(bool achieved);

class AchievementIcons {
public:
    void Reset() { *this = AchievementIcons(); }
    // A new session fetches every icon again; handles are never reused.
    void BeginSession() {
        icons_.clear();
        images_.clear();
    }

    // The image handle of the achievement's achieved or unachieved icon; 0
    // while it is being fetched (the first ask posts
    // UserAchievementIconFetched_t with the handle).
    int IconFor(int achievementIndex, bool achieved);

    // A fetched image; false for a handle that names none (yet).
    bool ImageSize(int handle, uint32_t* width, uint32_t* height) const;
    // Fills `destination` when it holds the whole image (4 * width * height bytes).
    bool ImageRgba(int handle, unsigned char* destination, int destinationSize) const;

private:
    struct Icon {
        int handle = 0;
        bool fetched = false;
    };
    void NoteFetched(int achievementIndex, bool achieved);

    std::map<std::pair<int, bool>, Icon> icons_;
    std::map<int, RgbaImage> images_;
    int lastHandle_ = 0;
};

AchievementIcons& TheAchievementIcons();

}  // namespace offline_steam
