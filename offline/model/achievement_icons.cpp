// Achievement icons fetched on first ask, and the images ISteamUtils reads.
#include "achievement_icons.h"

#include <algorithm>
#include <cstring>

#include "record_queue.h"
#include "records.h"
#include "schema.h"
#include "session.h"

namespace offline_steam {
namespace {

// The size Steam gives achievement icons.
constexpr uint32_t kGeneratedSide = 64;
constexpr uint32_t kBorder = 4;
// Steam's answers come on the next frame.
constexpr int kAnswerFrames = 1;

PngDecoder g_decoder = nullptr;

}  // namespace

void InstallPngDecoder(PngDecoder decoder) { g_decoder = decoder; }

RgbaImage GeneratedIcon(bool achieved) {
    // A square with a darker border: blue for the achieved icon, grey for the other.
    const unsigned char fill[3] = {static_cast<unsigned char>(achieved ? 0x3C : 0x80),
                                   static_cast<unsigned char>(achieved ? 0x8D : 0x80),
                                   static_cast<unsigned char>(achieved ? 0xD9 : 0x80)};
    const unsigned char edge[3] = {static_cast<unsigned char>(fill[0] / 2),
                                   static_cast<unsigned char>(fill[1] / 2),
                                   static_cast<unsigned char>(fill[2] / 2)};
    RgbaImage image;
    image.width = image.height = kGeneratedSide;
    image.rgba.resize(std::size_t{kGeneratedSide} * kGeneratedSide * 4);
    for (uint32_t y = 0; y < kGeneratedSide; ++y) {
        for (uint32_t x = 0; x < kGeneratedSide; ++x) {
            const bool border = x < kBorder || y < kBorder || x >= kGeneratedSide - kBorder ||
                                y >= kGeneratedSide - kBorder;
            unsigned char* pixel = &image.rgba[(std::size_t{y} * kGeneratedSide + x) * 4];
            std::memcpy(pixel, border ? edge : fill, 3);
            pixel[3] = 0xFF;
        }
    }
    return image;
}

int AchievementIcons::IconFor(int achievementIndex, bool achieved) {
    Icon& icon = icons_[{achievementIndex, achieved}];
    if (icon.fetched) return icon.handle;
    if (icon.handle != 0) return 0;  // asked before; the answer is on its way
    icon.handle = ++lastHandle_;
    TheRecordQueue().PostCallback(
        kAchievementIconFetchedId,
        MakeAchievementIconFetchedRecord(TheSession().RecordGameId(),
                                         AchievementAt(achievementIndex).name.c_str(), achieved,
                                         icon.handle),
        kAnswerFrames, [achievementIndex, achieved] {
            TheAchievementIcons().NoteFetched(achievementIndex, achieved);
        });
    return 0;
}

void AchievementIcons::NoteFetched(int achievementIndex, bool achieved) {
    Icon& icon = icons_[{achievementIndex, achieved}];
    if (icon.handle == 0 || icon.fetched) return;
    icon.fetched = true;
    const AchievementSchema& schema = AchievementAt(achievementIndex);
    const std::string& file = achieved ? schema.icon : schema.iconGray;
    RgbaImage image;
    // The loader checked the file's header; a file that changed since, or
    // one past the decoder, is served as the plain icon.
    const bool decoded = !file.empty() && g_decoder != nullptr && g_decoder(file, &image) &&
                         image.width > 0 && image.height > 0 &&
                         image.rgba.size() == std::size_t{image.width} * image.height * 4;
    images_[icon.handle] = decoded ? std::move(image) : GeneratedIcon(achieved);
}

bool AchievementIcons::ImageSize(int handle, uint32_t* width, uint32_t* height) const {
    const auto found = images_.find(handle);
    if (found == images_.end()) return false;
    if (width != nullptr) *width = found->second.width;
    if (height != nullptr) *height = found->second.height;
    return true;
}

bool AchievementIcons::ImageRgba(int handle, unsigned char* destination,
                                 int destinationSize) const {
    const auto found = images_.find(handle);
    if (found == images_.end() || destination == nullptr || destinationSize < 0 ||
        static_cast<std::size_t>(destinationSize) < found->second.rgba.size())
        return false;
    std::copy(found->second.rgba.begin(), found->second.rgba.end(), destination);
    return true;
}

AchievementIcons& TheAchievementIcons() {
    static AchievementIcons& instance = *new AchievementIcons;  // never destroyed: see TheSession
    return instance;
}

}  // namespace offline_steam
