#include "media_player/win32/subtitle_file_win32.h"

#include <windows.h>
#include <wininet.h>

#include "common/win32/unique_handle.h"
#include "common/win32/unique_internet.h"
#include "common/win32/web_request.h"
#include "media_player/core/subtitle_encoding.h"
#include "media_player/core/subtitle_files.h"
#include "media_player/win32/http_answer_win32.h"
#include "media_player/win32/media_input_win32.h"
#include "media_player/win32/media_reader_win32.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

std::int64_t ToMs(std::int64_t stamp, AVRational base) {
  return stamp == AV_NOPTS_VALUE ? AV_NOPTS_VALUE : av_rescale_q(stamp, base, AVRational{1, 1000});
}

struct CodecContext {
  AVCodecContext* context = nullptr;
  ~CodecContext() { avcodec_free_context(&context); }
};

struct Packet {
  AVPacket* packet = av_packet_alloc();
  ~Packet() { av_packet_free(&packet); }
};

}  // namespace

std::unique_ptr<SubtitleTrack> ParseSubtitleFile(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > kMaxSubtitleFileBytes) return nullptr;
  std::unique_ptr<MediaInput> input = OpenMemoryInput(SubtitleTextToUtf8(bytes));
  AVFormatContext* format = OpenDemuxer(input.get());
  if (!format) return nullptr;
  std::unique_ptr<SubtitleTrack> track;
  const int index = av_find_best_stream(format, AVMEDIA_TYPE_SUBTITLE, -1, -1, nullptr, 0);
  const AVCodec* codec = index >= 0 ? avcodec_find_decoder(format->streams[index]->codecpar->codec_id) : nullptr;
  CodecContext decoder{codec ? avcodec_alloc_context3(codec) : nullptr};
  Packet packet;
  if (decoder.context && packet.packet &&
      avcodec_parameters_to_context(decoder.context, format->streams[index]->codecpar) >= 0) {
    const AVRational base = format->streams[index]->time_base;
    decoder.context->pkt_timebase = base;
    if (avcodec_open2(decoder.context, codec, nullptr) >= 0) {
      const char* header = reinterpret_cast<const char*>(decoder.context->subtitle_header);
      track = std::make_unique<SubtitleTrack>(ParseSubtitleHeader(
          header ? std::string_view(header, static_cast<std::size_t>(decoder.context->subtitle_header_size))
                 : std::string_view()));
      while (av_read_frame(format, packet.packet) >= 0 && track->size() < SubtitleTrack::kMaxEvents) {
        AVSubtitle subtitle{};
        int got = 0;
        if (packet.packet->stream_index == index &&
            avcodec_decode_subtitle2(decoder.context, &subtitle, &got, packet.packet) >= 0 && got) {
          const std::int64_t at = ToMs(packet.packet->pts, base);
          const std::int64_t length = ToMs(packet.packet->duration, base);
          if (at != AV_NOPTS_VALUE) {
            const std::int64_t start = at + subtitle.start_display_time;
            const std::int64_t end = length > 0 ? at + length : at + subtitle.end_display_time;
            for (unsigned i = 0; i < subtitle.num_rects; ++i) {
              if (subtitle.rects[i]->ass) track->Add(start, end, subtitle.rects[i]->ass);
            }
          }
          avsubtitle_free(&subtitle);
        }
        av_packet_unref(packet.packet);
      }
      track->Finish();
    }
  }
  CloseDemuxer(format);
  if (track && track->size() == 0) track.reset();
  return track;
}

std::unique_ptr<SubtitleTrack> LoadSubtitleFile(const std::wstring& path) {
  // A disk file only: a device or a pipe has no size and may never end.
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
      static_cast<std::uint64_t>(size.QuadPart) > kMaxSubtitleFileBytes) {
    return nullptr;
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return nullptr;
  bytes.resize(got);
  return ParseSubtitleFile(bytes);
}

std::unique_ptr<SubtitleTrack> FetchSubtitleFile(const std::wstring& url) {
  const UniqueInternet session(InternetOpenW(L"VexoMedia/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return nullptr;
  const WebRequest web = OpenWebRequest(session.get(), url, kMediaRequestFlags, kMediaTimeoutMs);
  if (!web.request || !SendWebRequest(web.request.get(), L"")) return nullptr;
  if (Header(web.request.get(), HTTP_QUERY_STATUS_CODE) != L"200") return nullptr;
  // A subtitle file is small: an answer that goes on past the bound, or trickles past the
  // deadline, is none.
  const ULONGLONG deadline = GetTickCount64() + 2 * kMediaTimeoutMs;
  std::string bytes;
  char chunk[16384];
  DWORD got = 0;
  while (InternetReadFile(web.request.get(), chunk, sizeof chunk, &got) && got > 0) {
    bytes.append(chunk, got);
    if (bytes.size() > kMaxSubtitleFileBytes || GetTickCount64() > deadline) return nullptr;
  }
  return ParseSubtitleFile(bytes);
}

std::vector<std::wstring> SubtitleFilesBeside(const std::wstring& video_path) {
  const auto slash = video_path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : video_path.substr(0, slash + 1);
  const std::wstring video_name = slash == std::wstring::npos ? video_path : video_path.substr(slash + 1);
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && names.size() < 10000) {
      names.emplace_back(reinterpret_cast<const char16_t*>(found.cFileName));
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::vector<std::wstring> paths;
  for (const std::u16string& name : SubtitleFilesFor(std::u16string(video_name.begin(), video_name.end()), names)) {
    paths.push_back(folder + std::wstring(name.begin(), name.end()));
  }
  return paths;
}
