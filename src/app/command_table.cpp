#include "app/command_table.h"

#include <QCoreApplication>
#include <QtGlobal>

#include "app/command_ids.h"
#include "net/remote_control.h"

namespace dvr::app {
namespace {

constexpr CommandSpec kCommands[] = {
    {kCmdOpenFile, QT_TRANSLATE_NOOP("Commands", "&ファイルを開く...\tCtrl+O"), "Ctrl+O", "open",
     QT_TRANSLATE_NOOP("Commands", "ファイルを開く")},
    {kCmdOpenDisk, QT_TRANSLATE_NOOP("Commands", "ディスクを開く..."), nullptr, nullptr},
    {kCmdCloseFile, QT_TRANSLATE_NOOP("Commands", "ファイルを閉じる"), "Ctrl+C", nullptr},
    {kCmdPlay, QT_TRANSLATE_NOOP("Commands", "再生"), nullptr, "play"},
    {kCmdBackward, QT_TRANSLATE_NOOP("Commands", "巻戻し"), nullptr, "backward"},
    {kCmdPause, QT_TRANSLATE_NOOP("Commands", "一時停止"), "Ctrl+P", "pause"},
    {kCmdFastForward, QT_TRANSLATE_NOOP("Commands", "早送り"), nullptr, "fast-forward"},
    {kCmdFastBackward, QT_TRANSLATE_NOOP("Commands", "早戻し"), nullptr, "fast-backward"},
    {kCmdStepForward, QT_TRANSLATE_NOOP("Commands", "コマ送り"), "Ctrl+N", "step-forward"},
    {kCmdStepBackward, QT_TRANSLATE_NOOP("Commands", "コマ戻し"), "Ctrl+V", "step-backward"},
    {kCmdGoToTime, QT_TRANSLATE_NOOP("Commands", "Go to time...\tCtrl+T"), "Ctrl+T", nullptr},
    {kCmdMarkIn, QT_TRANSLATE_NOOP("Commands", "Mark in\tI"), "I", nullptr},
    {kCmdMarkOut, QT_TRANSLATE_NOOP("Commands", "Mark out\tO"), "O", nullptr},
    {kCmdExportSpan, QT_TRANSLATE_NOOP("Commands", "Export span..."), nullptr, nullptr},
    {kCmdTimeInLabels, QT_TRANSLATE_NOOP("Commands", "時間表示"), nullptr, nullptr, nullptr, true},
    {kCmdSingle, QT_TRANSLATE_NOOP("Commands", "単一画面"), nullptr, "single"},
    {kCmdSplit4, QT_TRANSLATE_NOOP("Commands", "4分割画面"), nullptr, "split4"},
    {kCmdSplit9, QT_TRANSLATE_NOOP("Commands", "Split 9"), nullptr, "split9"},
    {kCmdSplit16, QT_TRANSLATE_NOOP("Commands", "Split 16"), nullptr, "split16"},
    {kCmdSize448, QT_TRANSLATE_NOOP("Commands", "640 x 448"), nullptr, nullptr, nullptr, true},
    {kCmdSize544, QT_TRANSLATE_NOOP("Commands", "640 x 544"), nullptr, nullptr, nullptr, true},
    {kCmdNormalSize, QT_TRANSLATE_NOOP("Commands", "標準サイズ"), "Ctrl+F", nullptr, nullptr, true},
    {kCmdMaximize, QT_TRANSLATE_NOOP("Commands", "最大化"), nullptr, nullptr, nullptr, true},
    {kCmdAlwaysOnTop, QT_TRANSLATE_NOOP("Commands", "常に手前に表示"), nullptr, nullptr, nullptr,
     true},
    {kCmdMute, QT_TRANSLATE_NOOP("Commands", "ミュート"), nullptr, "mute", nullptr, true},
    {kCmdStillImage, QT_TRANSLATE_NOOP("Commands", "静止画保存"), nullptr, "still"},
    {kCmdExport, QT_TRANSLATE_NOOP("Commands", "AVI保存"), nullptr, "export",
     QT_TRANSLATE_NOOP("Commands", "AVI保存開始")},
    {kCmdOptions, QT_TRANSLATE_NOOP("Commands", "オプション..."), nullptr, nullptr},
    {kCmdNetworkOptions, QT_TRANSLATE_NOOP("Commands", "オプション..."), nullptr, nullptr},
    {kCmdConnect, QT_TRANSLATE_NOOP("Commands", "&Connect..."), nullptr, "connect",
     QT_TRANSLATE_NOOP("Commands", "Connect")},
    {kCmdStartRecording, QT_TRANSLATE_NOOP("Commands", "Start Local Recording"), nullptr, nullptr},
    {kCmdStopRecording, QT_TRANSLATE_NOOP("Commands", "Stop Local Recording"), nullptr, nullptr},
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
    {kCmdPlayerMode, QT_TRANSLATE_NOOP("Commands", "再生(&P)"), nullptr, "player", nullptr, true},
    {kCmdNetworkMode, QT_TRANSLATE_NOOP("Commands", "Client(&L)"), nullptr, "network", nullptr,
     true},
    {kCmdAbout, QT_TRANSLATE_NOOP("Commands", "バージョン情報\tF10"), "F10", nullptr},
    {kCmdClose, QT_TRANSLATE_NOOP("Commands", "閉じる\tAlt+F4"), nullptr, nullptr},
};

}  // namespace

std::span<const CommandSpec> Commands() {
  return kCommands;
}

QString CommandText(const CommandSpec& command) {
  if (command.text) return QCoreApplication::translate("Commands", command.text);
  for (const net::RemoteCommand& remote : net::RemoteCommands()) {
    if (remote.command_id == command.id)
      return QCoreApplication::translate("Commands", remote.text);
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
      kCmdOpenFile,     kCmdOpenDisk, kCmdCloseFile,    kSeparator,       kCmdPlay,
      kCmdBackward,     kCmdPause,    kCmdFastForward,  kCmdFastBackward, kCmdStepForward,
      kCmdStepBackward, kSeparator,   kCmdGoToTime,     kCmdMarkIn,       kCmdMarkOut,
      kCmdExportSpan,   kSeparator,   kCmdTimeInLabels, kCmdSingle,       kCmdSplit4,
      kCmdSplit9,       kCmdSplit16,  kSeparator,       kCmdSize448,      kCmdSize544,
      kCmdNormalSize,   kCmdMaximize, kCmdAlwaysOnTop,  kSeparator,       kCmdOptions,
      kSeparator,       kCmdAbout,    kCmdClose};
  static const std::vector<int> network = {kCmdConnect,
                                           kCmdStartRecording,
                                           kCmdStopRecording,
                                           kSeparator,
                                           kSubmenu,
                                           32848,
                                           32849,
                                           32850,
                                           32851,
                                           32852,
                                           32853,
                                           kSeparator,
                                           32855,
                                           32856,
                                           32857,
                                           32858,
                                           32854,
                                           kSeparator,
                                           32859,
                                           32860,
                                           32861,
                                           32862,
                                           kEndSubmenu,
                                           kSeparator,
                                           kCmdSize448,
                                           kCmdSize544,
                                           kCmdNormalSize,
                                           kCmdMaximize,
                                           kCmdAlwaysOnTop,
                                           kSeparator,
                                           kCmdNetworkOptions,
                                           kSeparator,
                                           kCmdPlayerMode,
                                           kCmdNetworkMode,
                                           kSeparator,
                                           kCmdAbout,
                                           kCmdClose};
  return mode == 2 ? network : player;
}

}  // namespace dvr::app
