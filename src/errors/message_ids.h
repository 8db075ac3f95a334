#pragma once

namespace tessalune::errors::msg {

// The catalogue's messages by what they say; the numbers are the catalogue's own and the
// same in the six message tables. Fragments are joined with other text where they are used.
inline constexpr int kUnknownErrorStart = 101;  // fragment: "... (code "
inline constexpr int kUnknownErrorEnd = 102;    // fragment: "). ... reload it?"
inline constexpr int kErrorWas = 103;           // fragment: "The error was: "
inline constexpr int kUnknownErrorTitle = 104;
inline constexpr int kConfigMissing = 105;
inline constexpr int kConfigUnloadable = 106;
inline constexpr int kSectionsMissing = 107;
inline constexpr int kXmlComponentMissing = 108;
inline constexpr int kNicknameTooLong = 109;     // without its full stop
inline constexpr int kOrChangeFormatting = 110;  // fragment
inline constexpr int kKeepNicknameUncoloured = 111;
inline constexpr int kNicknameNotCreated = 112;
inline constexpr int kMessageTooLong = 113;
inline constexpr int kSendMessageUncoloured = 114;
inline constexpr int kMessageNotCreated = 115;
inline constexpr int kTypeANick = 116;
inline constexpr int kTypeAMessage = 117;
inline constexpr int kTooManyLoops = 118;  // %1: the threshold
inline constexpr int kLoopStopped = 119;
inline constexpr int kMissingTranslation = 120;  // fragment: the language's name follows
inline constexpr int kIncompleteTranslation = 121;
inline constexpr int kRestarted = 122;
inline constexpr int kNotRestarted = 123;
inline constexpr int kShowNickname = 124;
inline constexpr int kShowMessage = 125;
inline constexpr int kNewVersion = 126;
inline constexpr int kNewVersionAnnounced = 127;
inline constexpr int kNoUpdate = 128;
inline constexpr int kResolvingHost = 129;
inline constexpr int kConnecting = 130;
inline constexpr int kCheckingVersion = 131;
inline constexpr int kRequestingFile = 132;
inline constexpr int kSearchFailed = 133;
inline constexpr int kNewsFailed = 134;
inline constexpr int kDownloadFailed = 135;
inline constexpr int kDownloading = 136;
inline constexpr int kDownloadAborted = 137;
inline constexpr int kFinished = 138;
inline constexpr int kInstall = 139;
inline constexpr int kQuitMessenger = 140;
inline constexpr int kShortcutTaken = 141;
inline constexpr int kShortcutUnknown = 142;
inline constexpr int kFileMissing = 143;  // %1: the file
inline constexpr int kImported = 144;
inline constexpr int kImportTitle = 145;
inline constexpr int kExported = 146;
inline constexpr int kExportTitle = 147;
inline constexpr int kTypeAShortcut = 148;
inline constexpr int kNicknameSaved = 149;
inline constexpr int kShortcutUnstorable = 150;  // %1: what the shortcut holds
inline constexpr int kInstallerNotStarted = 151;
inline constexpr int kTooManyQuickNicks = 152;
inline constexpr int kTooLongToSave = 153;  // %1: the most characters it may have
inline constexpr int kDownloadRunning = 154;
inline constexpr int kQuickNicksChanged = 155;
inline constexpr int kTooLongForTarget = 156;       // %1: the most characters it may have
inline constexpr int kTooLongForTargetBytes = 157;  // %1: the most UTF-8 bytes it may have

// The descriptions of the published commands, in the command table's order.
inline constexpr int kCreateColouredNickname = 901;
inline constexpr int kCreateColouredText = 902;
inline constexpr int kUseQuickNick = 903;
inline constexpr int kSaveCurrentNick = 904;
inline constexpr int kQuickNicksManagement = 905;
inline constexpr int kConfiguration = 906;
inline constexpr int kAbout = 907;
inline constexpr int kHelp = 908;

}  // namespace tessalune::errors::msg
