#pragma once
// Names and texts the player's windows share: engine status values, the layout's
// control names and the texts the user reads.
#include <windows.h>

namespace DuiLib {

// What the engine's play_status reports.
inline constexpr int kStatusClosed = 0;   // no file open
inline constexpr int kStatusPlaying = 1;
inline constexpr int kStatusPaused = 2;
inline constexpr int kStatusEnded = 3;
inline constexpr int kStatusStopped = 4;

// Playing or paused: a file is open in the engine.
inline constexpr bool IsOpenStatus(int status) { return status == kStatusPlaying || status == kStatusPaused; }

inline constexpr const wchar_t* kCtlPlayStatus = L"txt_playstatus";
inline constexpr const wchar_t* kCtlPlayingPath = L"txt_playingpath";
inline constexpr const wchar_t* kCtlMute = L"btn_mute";
inline constexpr const wchar_t* kCtlMuteOff = L"btn_muteoff";
inline constexpr const wchar_t* kCtlListRegion = L"listregion";
inline constexpr const wchar_t* kCtlListToggle = L"btn_map_shrink";

inline constexpr const wchar_t* kTextPlaying = L"正在播放";
inline constexpr const wchar_t* kTextPaused = L"暂停";
inline constexpr const wchar_t* kTextStopped = L"停止";
inline constexpr const wchar_t* kTextNoVideo = L"没有视频在播放";
inline constexpr const wchar_t* kTextLoading = L"加载中请等待...";
inline constexpr const wchar_t* kTextCannotPlay = L"无法播放";
inline constexpr const wchar_t* kTextAddFilesFirst = L"请先添加视频文件";
inline constexpr const wchar_t* kTextNoticeCaption = L"提示";
inline constexpr const wchar_t* kTextAddInSmallerGroups = L"选择的文件太多，请分几次添加";
inline constexpr const wchar_t* kTextSettingsNotSaved = L"设置未能保存，下次启动仍使用原来的设置";

inline constexpr const wchar_t* kImageListShown = L"split_screen_right.png";
inline constexpr const wchar_t* kImageListHidden = L"split_screen_left.png";

} // namespace DuiLib
