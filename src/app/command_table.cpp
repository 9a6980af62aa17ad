#include "app/command_table.h"

#include <QCoreApplication>
#include <QtGlobal>

#include "app/command_ids.h"
#include "net/remote_control.h"

#define TEXT(text) QT_TRANSLATE_NOOP("Commands", text)

namespace dvr::app {
namespace {

constexpr CommandSpec kCommands[] = {
    {kCmdOpenFile, TEXT("&ファイルを開く...\tCtrl+O"), "Ctrl+O", "open", TEXT("ファイルを開く")},
    {kCmdOpenDisk, TEXT("ディスクを開く..."), nullptr, nullptr},
    {kCmdCloseFile, TEXT("ファイルを閉じる"), "Ctrl+C", nullptr},
    {kCmdPlay, TEXT("再生"), nullptr, "play"},
    {kCmdBackward, TEXT("巻戻し"), nullptr, "backward"},
    {kCmdPause, TEXT("一時停止"), "Ctrl+P", "pause"},
    {kCmdFastForward, TEXT("早送り"), nullptr, "fast-forward"},
    {kCmdFastBackward, TEXT("早戻し"), nullptr, "fast-backward"},
    {kCmdStepForward, TEXT("コマ送り"), "Ctrl+N", "step-forward"},
    {kCmdStepBackward, TEXT("コマ戻し"), "Ctrl+V", "step-backward"},
    {kCmdGoToTime, TEXT("Go to time...\tCtrl+T"), "Ctrl+T", nullptr},
    {kCmdMarkIn, TEXT("Mark in\tI"), "I", nullptr},
    {kCmdMarkOut, TEXT("Mark out\tO"), "O", nullptr},
    {kCmdExportSpan, TEXT("Export span..."), nullptr, nullptr},
    {kCmdTimeInLabels, TEXT("時間表示"), nullptr, nullptr, nullptr, true},
    {kCmdSingle, TEXT("単一画面"), nullptr, "single"},
    {kCmdSplit4, TEXT("4分割画面"), nullptr, "split4"},
    {kCmdSplit9, TEXT("Split 9"), nullptr, "split9"},
    {kCmdSplit16, TEXT("Split 16"), nullptr, "split16"},
    {kCmdSize448, TEXT("640 x 448"), nullptr, nullptr, nullptr, true},
    {kCmdSize544, TEXT("640 x 544"), nullptr, nullptr, nullptr, true},
    {kCmdNormalSize, TEXT("標準サイズ"), "Ctrl+F", nullptr, nullptr, true},
    {kCmdMaximize, TEXT("最大化"), nullptr, nullptr, nullptr, true},
    {kCmdAlwaysOnTop, TEXT("常に手前に表示"), nullptr, nullptr, nullptr, true},
    {kCmdMute, TEXT("ミュート"), nullptr, "mute", nullptr, true},
    {kCmdStillImage, TEXT("静止画保存"), nullptr, "still"},
    {kCmdExport, TEXT("AVI保存"), nullptr, "export", TEXT("AVI保存開始")},
    {kCmdOptions, TEXT("オプション..."), nullptr, nullptr},
    {kCmdNetworkOptions, TEXT("オプション..."), nullptr, nullptr},
    {kCmdConnect, TEXT("&Connect..."), nullptr, "connect", TEXT("Connect")},
    {kCmdStartRecording, TEXT("Start Local Recording"), nullptr, nullptr},
    {kCmdStopRecording, TEXT("Stop Local Recording"), nullptr, nullptr},
    {32848, nullptr, nullptr, "dvr-pause"},
    {32849, nullptr, nullptr, "dvr-rewind"},
    {32850, nullptr, nullptr, "dvr-play"},
    {32851, nullptr, nullptr, "dvr-forward"},
    {32852, nullptr, nullptr, "dvr-stop"},
    {32853, nullptr, nullptr, "dvr-record"},
    {32855, nullptr, nullptr, "camera1"},
    {32856, nullptr, nullptr, "camera2"},
    {32857, nullptr, nullptr, "camera3"},
    {32858, nullptr, nullptr, "camera4"},
    {32854, nullptr, nullptr, "dvr-split"},
    {32859, nullptr, nullptr, "dvr-menu"},
    {32860, nullptr, nullptr, "dvr-up"},
    {32861, nullptr, nullptr, "dvr-down"},
    {32862, nullptr, nullptr, "dvr-select"},
    {kCmdPlayerMode, TEXT("再生(&P)"), nullptr, "player", nullptr, true},
    {kCmdNetworkMode, TEXT("Client(&L)"), nullptr, "network", nullptr, true},
    {kCmdAbout, TEXT("バージョン情報\tF10"), "F10", nullptr},
    {kCmdClose, TEXT("閉じる\tAlt+F4"), nullptr, nullptr},
};

}  // namespace

std::span<const CommandSpec> Commands() { return kCommands; }

QString CommandText(const CommandSpec& command) {
  if (command.text) return QCoreApplication::translate("Commands", command.text);
  for (const net::RemoteCommand& remote : net::RemoteCommands()) {
    if (remote.command_id == command.id) return QCoreApplication::translate("Commands", remote.text);
  }
  return {};
}

const CommandSpec* FindCommand(int id) {
  for (const CommandSpec& command : kCommands) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

const std::vector<int>& ContextMenu(int mode) {
  static const std::vector<int> player = {
      kCmdOpenFile, kCmdOpenDisk, kCmdCloseFile, kSeparator,
      kCmdPlay, kCmdBackward, kCmdPause, kCmdFastForward, kCmdFastBackward, kCmdStepForward,
      kCmdStepBackward, kSeparator,
      kCmdGoToTime, kCmdMarkIn, kCmdMarkOut, kCmdExportSpan, kSeparator,
      kCmdTimeInLabels, kCmdSingle, kCmdSplit4, kCmdSplit9, kCmdSplit16, kSeparator,
      kCmdSize448, kCmdSize544, kCmdNormalSize, kCmdMaximize, kCmdAlwaysOnTop, kSeparator,
      kCmdOptions, kSeparator, kCmdAbout, kCmdClose};
  static const std::vector<int> network = {
      kCmdConnect, kCmdStartRecording, kCmdStopRecording, kSeparator,
      kSubmenu, 32848, 32849, 32850, 32851, 32852, 32853, kSeparator, 32855, 32856, 32857, 32858,
      32854, kSeparator, 32859, 32860, 32861, 32862, kEndSubmenu, kSeparator,
      kCmdSize448, kCmdSize544, kCmdNormalSize, kCmdMaximize, kCmdAlwaysOnTop, kSeparator,
      kCmdNetworkOptions, kSeparator, kCmdPlayerMode, kCmdNetworkMode, kSeparator, kCmdAbout,
      kCmdClose};
  return mode == 2 ? network : player;
}

}  // namespace dvr::app
