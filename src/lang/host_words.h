#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "lang/languages.h"
#include "lang/message_catalogue.h"

namespace tessalune::lang {

// The words the hosts add around the plug-in (the desktop, the chat plug-in, the web page),
// as messages of the six message tables: the numbers are the catalogue's own. The plug-in
// reads none but the about window's own two; a host reads them when it speaks. "%1" stands
// for a value the host fills in. The web page's build reads this list: one word a line,
// "Name = number,".
enum class HostWord : int {
  // Words more than one host says.
  NicknameNow = 201,  // a nickname follows
  AddColour = 202,
  RemoveColour = 203,
  Linear = 204,  // gradient shapes
  Mirrored = 205,
  Rainbow = 206,
  // The about window's words that no language file captions: it takes them itself.
  Credits = 207,
  BuildNumber = 208,  // %1 is the revision
  // The desktop host's words.
  Menu = 301,
  LoadAgain = 302,
  Quit = 303,
  Placeholder = 304,
  QuickStyle = 305,
  TextToColour = 306,
  TextColour = 307,
  Background = 308,
  NicknameLimit = 309,  // %1 is the limit
  MessageLimit = 310,
  UseAsNickname = 311,
  Send = 312,
  TextLabel = 313,
  ColoursLabel = 314,
  StyleLabel = 315,
  OkWouldAsk = 316,
  OkWouldSay = 317,
  StoppedAtWatchdog = 318,
  Sent = 319,
  StoppedUntilLoadedAgain = 320,
  Gradient = 321,
  White = 322,
  Black = 323,
  Silver = 324,
  Gray = 325,
  Red = 326,
  Maroon = 327,
  Yellow = 328,
  Olive = 329,
  Lime = 330,
  Green = 331,
  Aqua = 332,
  Teal = 333,
  Blue = 334,
  Navy = 335,
  Fuchsia = 336,
  Purple = 337,
  // The names a screen reader gives the desktop's controls.
  InputName = 338,  // the input line
  AppliesTo = 339,
  LengthLimit = 340,
  StopOf = 341,  // a colour stop: its place, the number of stops
  Conversation = 342,
  Preview = 343,
  GradientColour = 344,  // one end of a gradient
  CustomColour = 345,
  PreviousEntry = 346,
  NextEntry = 347,
  HostTitle = 350,
  HelpMenu = 351,
  TessaluneHelp = 352,
  AboutTessalune = 353,
  // A box's context menu.
  Undo = 354,
  Redo = 355,
  Cut = 356,
  CopyText = 357,
  Paste = 358,
  Delete = 359,
  SelectAll = 360,
  // The editor's tooltips; %1 is the key.
  BoldTip = 361,
  ItalicTip = 362,
  UnderlineTip = 363,
  StrikeTip = 364,
  // The quick style panel's codes: the list's name, a length in bytes, a target without a limit.
  Codes = 365,
  Bytes = 366,  // %1 is the number of bytes
  NoLimit = 367,
  NoBackgrounds = 368,  // %1 is the target's name
  // The chat plug-in's words.
  WindowWithoutDisplay = 401,
  AnsweredYes = 402,
  AnsweredNo = 403,
  NicknameNotPublished = 404,
  ServerRefusedNickname = 405,
  MessageNotSent = 406,
  HaltedUntilEnabledAgain = 407,
  ControlCharacter = 408,
  NotConnected = 409,
  ConnectionRefused = 410,
  NoPublicNickname = 411,
  RunAgainOnceConnected = 412,
  SendOnceConnected = 413,
  // The chat plug-in's preferences, where the client shows no window.
  PrefNicknames = 414,
  PrefMessages = 415,
  PrefColourAutomatically = 416,
  PrefColours = 419,
  PrefSolid = 424,
  PrefPresetFirstToSecond = 426,
  PrefPresetSecondToFirst = 427,
  PrefPresetMirrored = 428,
  PrefPresetMirroredReverse = 429,
  PrefLanguage = 430,
  PrefShowCodes = 431,
  PrefAnswer = 432,
  PreferencesButton = 435,
  CommandWaits = 436,
  ValueRefused = 437,
  IrcNicknamesArePlain = 438,
  // What follows a command word in /help, the command table's help.
  UsageNickname = 439,
  UsageText = 440,
  UsageShortcut = 441,
  // The plug-in's summary and description in the client's plug-in list.
  PluginSummary = 442,
  PluginDescription = 443,
  // Where Pidgin keeps a message its account could not send.
  InInputBox = 444,
  // An account's choice of how the plug-in's results go out; %1 names the account.
  PrefSendAs = 445,
  // The web page's words.
  PageTitle = 501,
  StyleKind = 502,
  Reverse = 503,
  MirroredReverse = 504,
  Stops = 505,
  Stop = 506,
  Swatch = 507,
  Result = 508,
  PlusCodes = 509,
  Count = 510,
  Copy = 511,
  Copied = 512,
  Share = 513,
  Shared = 514,
  SavedStyles = 515,
  Name = 516,
  Save = 517,
  KeepIt = 518,
  DropIt = 519,
  NotCopied = 520,
  Loading = 521,
  PageOwnName = 522,
  PageYes = 523,
  PageNo = 524,
  PageMyNickname = 525,
  PageOtherColour = 526,
  PageFormats = 527,
  PagePaper = 528,
  PageLightPaper = 529,
  PageDarkPaper = 530,
  PageEngineFailed = 531,
  PageRetry = 532,
  PageThinned = 533,
  PageThinnedOnly = 534,
  PageNotColoured = 535,
  PageAskAgain = 536,
  PageHexColour = 537,
  PageInsertStop = 538,
  PageRemoveStop = 539,
  PageMoveHint = 540,
  PagePresets = 541,
  PagePreset = 542,
  PageRename = 543,
  PageDeleted = 544,
  PageUndo = 545,
  PageNameBlank = 546,
  PageNameTaken = 547,
  PageBadStored = 548,
  PageLocalLink = 549,
  PageBadLinkField = 550,
  PageMode = 551,
  PageControlCharacter = 552,
  PageSays = 553,
  PageTarget = 554,  // the codes a result is written in
  PageCountBytes = 555,
  PageLengthCharacters = 556,  // a target without a limit
  PageLengthBytes = 557,
  PageTargetCodes = 558,  // %1 is the target's name
  PageNoBackgrounds = 559,
  PageThinnedBytes = 560,  // PageThinned and PageThinnedOnly in bytes
  PageThinnedOnlyBytes = 561,
};

inline constexpr int kFirstHostWord = 201;
inline constexpr int kLastHostWord = 599;

constexpr bool isHostWord(int id) {
  return id >= kFirstHostWord && id <= kLastHostWord;
}

// The words a host adds, in the language a host speaks: the plug-in's, the one its /config/lang
// names. While the plug-in names none (before its configuration is loaded, after a load
// that failed) the host keeps the one it spoke last, the fallback before any.
class HostWords {
 public:
  HostWords();

  // Takes the plug-in's language, when it names one. Returns whether the language changed.
  bool follow(std::optional<LanguageId> pluginLanguage);
  LanguageId language() const { return language_; }

  // The word's text as the catalogue has it, "%1" kept.
  std::string text(HostWord word) const { return catalogue_.text(static_cast<int>(word)); }
  // The word's text, its "%1" replaced by argument.
  std::string operator()(HostWord word, std::string_view argument = {}) const;

 private:
  LanguageId language_;
  MessageCatalogue catalogue_;
};

}  // namespace tessalune::lang
