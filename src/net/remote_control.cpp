#include "net/remote_control.h"

#include <array>

namespace dvr::net {
namespace {

constexpr std::array<RemoteCommand, 22> kCommands = {{
    {32848, "一時停止", 9},     {32849, "巻戻し", 7},      {32850, "再生", 11},
    {32851, "早送り", 10},      {32852, "停止", 8},        {32853, "録画", 6},
    {32855, "カメラ 1", 1},     {32856, "カメラ 2", 2},    {32857, "カメラ 3", 3},
    {32858, "カメラ 4", 4},     {32876, "Channel 5", 21},  {32877, "Channel 6", 22},
    {32878, "Channel 7", 23},   {32879, "Channel 8", 24},  {32880, "Channel 9", 25},
    {32854, "4分割画面", 132},  {32882, "4分割画面", 15},  {32859, "Menu", 12},
    {32860, "Up", 13},          {32861, "Down", 14},       {32862, "Select", 15},
    {32881, "Se&q", 15},
}};

struct KeyMapping {
  int virtual_key;
  int key_code;
};

constexpr std::array<KeyMapping, 18> kKeys = {{
    {8, 7},  {37, 7},  {13, 15}, {34, 15}, {27, 12}, {35, 12},  {33, 6},   {36, 8},   {38, 13},
    {39, 10}, {40, 14}, {45, 11}, {46, 5},  {112, 136}, {113, 137}, {114, 138}, {115, 135}, {0, -1},
}};

}  // namespace

std::span<const RemoteCommand> RemoteCommands() { return kCommands; }

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
  if (code == 42 || code == 43 || code == 47 || (code >= 48 && code <= 57) || (code >= 65 && code <= 90)) return code;
  return {};
}

}  // namespace dvr::net
