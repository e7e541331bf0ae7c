// The videos people have, made by scripts/make-media-vectors.sh with other tools than ours
// (x264, x265, libvpx, SVT-AV1, ffmpeg's own encoders): each plays in the control with its
// length and sound, and its picture at 1 s is the picture ffmpeg itself shows of it (turned
// upright, in its pixels' shape, with its matrix and range), as a user sees it in the window.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "media_player/core/picture.h"
#include "tests/win/media_player_fixture.h"
#include "tests/win/screen_capture.h"

namespace {

struct Vector {
  std::string name, file;
  int seconds = 0;
  std::string sound;  // "RATExCHANNELS" or "none"
};

std::filesystem::path VectorFolder() {
  const char* full = std::getenv("VEXO_TEST_VECTORS");
  return full ? std::filesystem::path(full) : Clips() / "vectors";
}

std::vector<Vector> Vectors() {
  std::vector<Vector> vectors;
  std::ifstream in(VectorFolder() / "vectors.txt");
  for (std::string line; std::getline(in, line);) {
    std::stringstream fields(line);
    Vector v;
    std::string seconds;
    std::getline(fields, v.name, '|');
    std::getline(fields, v.file, '|');
    std::getline(fields, seconds, '|');
    std::getline(fields, v.sound, '|');
    v.seconds = std::atoi(seconds.c_str());
    if (!v.name.empty()) vectors.push_back(v);
  }
  return vectors;
}

// An RGB picture from a binary PPM file.
struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  bool Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    if (magic != "P6" || width <= 0 || height <= 0 || depth != 255) return false;
    rgb.resize(static_cast<std::size_t>(width) * height * 3);
    in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    return static_cast<std::size_t>(in.gcount()) == rgb.size();
  }
};

// How far what the window shows is from the reference, in levels of 255: over blocks of
// 8 x 8 pixels of the fitted picture whose part of the reference is of one colour (the bars,
// not their edges, so that how each side scales edges does not count), the mean and the
// largest difference of the block's colour.
struct Difference {
  double mean = 255, largest = 255;
  int blocks = 0;
  int worst_x = -1, worst_y = -1;  // where in the picture the largest is
};

Difference Compare(const ScreenShot& shot, const Picture& want, const PictureRect& place) {
  constexpr int kBlock = 8;
  Difference d;
  double total = 0, largest = 0;
  for (int by = 0; by + kBlock <= place.height; by += kBlock) {
    for (int bx = 0; bx + kBlock <= place.width; bx += kBlock) {
      // The reference's pixels under the block, and a screen pixel's worth around it (the
      // window samples the picture, and may take a pixel beside the one under it).
      const int mx = want.width / place.width + 2, my = want.height / place.height + 2;
      const int x0 = std::max(0, bx * want.width / place.width - mx);
      const int x1 = std::min(want.width, (bx + kBlock) * want.width / place.width + mx);
      const int y0 = std::max(0, by * want.height / place.height - my);
      const int y1 = std::min(want.height, (by + kBlock) * want.height / place.height + my);
      int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
      double wanted[3] = {0, 0, 0};
      for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
          const unsigned char* p = &want.rgb[(static_cast<std::size_t>(y) * want.width + x) * 3];
          for (int i = 0; i < 3; ++i) {
            low[i] = std::min<int>(low[i], p[i]), high[i] = std::max<int>(high[i], p[i]);
            wanted[i] += p[i];
          }
        }
      }
      bool flat = true;
      for (int i = 0; i < 3; ++i) flat = flat && high[i] - low[i] <= 4;
      if (!flat) continue;
      double seen[3] = {0, 0, 0};
      for (int y = by; y < by + kBlock; ++y) {
        for (int x = bx; x < bx + kBlock; ++x) {
          const COLORREF c = shot.At(place.left + x, place.top + y);
          seen[0] += GetRValue(c), seen[1] += GetGValue(c), seen[2] += GetBValue(c);
        }
      }
      const double area = double(x1 - x0) * (y1 - y0);
      for (int i = 0; i < 3; ++i) {
        const double error = std::abs(seen[i] / (kBlock * kBlock) - wanted[i] / area);
        total += error;
        if (error > largest) largest = error, d.worst_x = bx, d.worst_y = by;
      }
      ++d.blocks;
    }
  }
  if (d.blocks > 0) d.mean = total / (3.0 * d.blocks), d.largest = largest;
  return d;
}

using MediaVectorTest = MediaPlayerTest;

TEST_F(MediaVectorTest, EveryVectorPlaysAsFfmpegShowsIt) {
  const std::vector<Vector> vectors = Vectors();
  ASSERT_FALSE(vectors.empty()) << "no vectors in " << VectorFolder().string();
  std::string results;
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.name);
    const std::wstring path = (VectorFolder() / v.file).wstring();
    player->SetMediaUrl(std::u16string(path.begin(), path.end()));
    player->Play();
    ASSERT_TRUE(ReachesState(player::kPlaying)) << v.name << ": state " << player->PlayState() << "\n" << Log();
    EXPECT_EQ(player->Duration(), v.seconds) << v.name;
    if (v.sound != "none") {
      // Sound reaches the device, loud: every layout and rate is played.
      EXPECT_TRUE(PumpUntil(
          [&] {
            const std::string log_text = Log();
            const auto at = log_text.rfind("Sound ");
            return at != std::string::npos && std::atoi(log_text.c_str() + at + 6) > 500;
          },
          5s))
          << v.name << " (" << v.sound << "): no sound reached the device";
    }
    player->Pause();
    player->SetPosition(1);
    Pump(1500ms);
    Picture want;
    ASSERT_TRUE(want.Load(VectorFolder() / (v.name + ".ppm"))) << v.name;
    const PictureRect place = FitPicture(want.width, want.height, 320, 240);
    const ScreenShot shot(RECT{0, 0, 320, 240});
    const Difference difference = Compare(shot, want, place);
    results += v.name + ": mean " + std::to_string(difference.mean) + ", largest " +
               std::to_string(difference.largest) + " over " + std::to_string(difference.blocks) + " blocks\n";
    const bool same = difference.blocks >= 40 && difference.mean < 2.0 && difference.largest < 8.0;
    EXPECT_TRUE(same) << v.name << " differs from ffmpeg's picture: mean " << difference.mean << ", largest "
                      << difference.largest << " levels (at " << difference.worst_x << ", " << difference.worst_y
                      << ") over " << difference.blocks << " blocks";
    if (!same) {
      shot.Save(VectorFolder() / (v.name + "-seen.bmp"));  // to look at
      ADD_FAILURE() << Log();
    }
    // Outside the picture, the bars are black.
    if (place.left > 2) {
      EXPECT_EQ(shot.At(1, 120) & 0xFFFFFF, 0u) << v.name;
    }
    if (place.top > 2) {
      EXPECT_EQ(shot.At(160, 1) & 0xFFFFFF, 0u) << v.name;
    }
    player->Stop();
  }
  std::printf("%s", results.c_str());
}

}  // namespace
