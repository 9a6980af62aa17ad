#include "net/remote_control.h"

#include <array>

#include "platform/translatable.h"

namespace dvr::net {
namespace {

// The menu texts are shown translated, under the "Commands" context of the viewer's menus.
constexpr std::array<RemoteCommand, 22> kCommands = {{
    {32848, DVR_TRANSLATABLE("Commands", "一時停止"), 9},
    {32849, DVR_TRANSLATABLE("Commands", "巻戻し"), 7},
    {32850, DVR_TRANSLATABLE("Commands", "再生"), 11},
    {32851, DVR_TRANSLATABLE("Commands", "早送り"), 10},
    {32852, DVR_TRANSLATABLE("Commands", "停止"), 8},
    {32853, DVR_TRANSLATABLE("Commands", "録画"), 6},
    {32855, DVR_TRANSLATABLE("Commands", "カメラ 1"), 1},
    {32856, DVR_TRANSLATABLE("Commands", "カメラ 2"), 2},
    {32857, DVR_TRANSLATABLE("Commands", "カメラ 3"), 3},
    {32858, DVR_TRANSLATABLE("Commands", "カメラ 4"), 4},
    {32876, DVR_TRANSLATABLE("Commands", "Channel 5"), 21},
    {32877, DVR_TRANSLATABLE("Commands", "Channel 6"), 22},
    {32878, DVR_TRANSLATABLE("Commands", "Channel 7"), 23},
    {32879, DVR_TRANSLATABLE("Commands", "Channel 8"), 24},
    {32880, DVR_TRANSLATABLE("Commands", "Channel 9"), 25},
    {32854, DVR_TRANSLATABLE("Commands", "4分割画面"), 132},
    {32882, DVR_TRANSLATABLE("Commands", "4分割画面"), 15},
    {32859, DVR_TRANSLATABLE("Commands", "Menu"), 12},
    {32860, DVR_TRANSLATABLE("Commands", "Up"), 13},
    {32861, DVR_TRANSLATABLE("Commands", "Down"), 14},
    {32862, DVR_TRANSLATABLE("Commands", "Select"), 15},
    {32881, DVR_TRANSLATABLE("Commands", "Se&q"), 15},
}};

struct KeyMapping {
  int virtual_key;
  int key_code;
};

constexpr std::array<KeyMapping, 18> kKeys = {{
    {8, 7},
    {37, 7},
    {13, 15},
    {34, 15},
    {27, 12},
    {35, 12},
    {33, 6},
    {36, 8},
    {38, 13},
    {39, 10},
    {40, 14},
    {45, 11},
    {46, 5},
    {112, 136},
    {113, 137},
    {114, 138},
    {115, 135},
    {0, -1},
}};

}  // namespace

std::span<const RemoteCommand> RemoteCommands() {
  return kCommands;
}

std::optional<int> KeyCodeForCommand(int command_id) {
  for (const RemoteCommand& command : kCommands) {
    if (command.command_id == command_id) return command.key_code;
  }
  return {};
}

std::optional<int> KeyCodeForKey(int virtual_key) {
  for (const KeyMapping& key : kKeys) {
    if (key.virtual_key == virtual_key && key.key_code >= 0) return key.key_code;
  }
  int code = virtual_key;
  if (code >= 97 && code <= 122) code -= 32;
  if (code == 42 || code == 43 || code == 47 || (code >= 48 && code <= 57) ||
      (code >= 65 && code <= 90))
    return code;
  return {};
}

}  // namespace dvr::net
