#pragma once
// Where the demuxer reads an item from: a file of this computer (or a share), or a web item's
// download, whose reads wait for the fetch to bring the bytes (and go by range far ahead of
// it), so playback starts long before the fetch ends and a seek back costs nothing. Closing
// the item sets `cancelled`, which ends every wait at once.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "common/win32/unique_handle.h"
#include "media_player/core/media_input_position.h"
#include "media_player/win32/media_download_win32.h"

class MediaInput {
 public:
  virtual ~MediaInput() = default;
  // Up to `count` bytes at the position; 0 at the end; -1 when the item cannot be read (a
  // failed fetch, a closed item).
  virtual int Read(std::uint8_t* out, int count) = 0;
  // The new position, or -1.
  virtual std::int64_t Seek(SeekFrom from, std::int64_t offset) = 0;
  virtual bool cancelled() const = 0;
  // The item's size in bytes, for the control's bit rate (-1 while unknown).
  virtual std::int64_t size() = 0;
};

// A file opened for reading (shared, so that a player or a copy may hold it too).
std::unique_ptr<MediaInput> OpenFileInput(const std::wstring& path, std::shared_ptr<std::atomic<bool>> cancelled);
// Bytes held in memory (a subtitle file turned into UTF-8).
std::unique_ptr<MediaInput> OpenMemoryInput(std::string bytes);
// A download's cache file, read as its fetch fills it.
std::unique_ptr<MediaInput> OpenDownloadInput(std::shared_ptr<MediaDownload> download,
                                              std::shared_ptr<std::atomic<bool>> cancelled);
