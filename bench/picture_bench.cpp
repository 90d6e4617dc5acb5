// SPDX-License-Identifier: MIT
// LoadPicture against SDL_LoadBMP and stb_image on the same 651 x 651 files, and PutImage
// against a plain memcpy of the same rows. Prints the time ratios after the table.
//
// LoadPicture reads files by name, so each file is written once to a tmpfs directory
// (/dev/shm, else the temp directory) and read from the page cache; SDL and stb read the same
// bytes from memory (SDL_RWFromConstMem, stbi_load_from_memory), which spares them the system
// calls LoadPicture makes.
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "layer/layer.h"
#include "pictures/bmp.h"
#include "pictures/menu.h"
#include "pictures/packed.h"
#include "support/bmp_writer.h"
#include "testing/test_seams.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

namespace {

constexpr int32_t kSize = 651;

struct TestFile {
  std::string name;
  std::vector<uint8_t> bytes;
  std::string path;
};

std::vector<TestFile>& Files() {
  static std::vector<TestFile> files;
  return files;
}

std::filesystem::path Directory() {
  std::filesystem::path base = std::filesystem::exists("/dev/shm")
                                   ? std::filesystem::path("/dev/shm")
                                   : std::filesystem::temp_directory_path();
  return base / ("xmas-picture-bench-" + std::to_string(::getpid()));
}

void MakeFiles() {
  std::filesystem::create_directories(Directory());
  uint32_t state = 1;
  std::vector<uint32_t> rgb(kSize * kSize), index(kSize * kSize), argb(kSize * kSize);
  for (size_t i = 0; i < rgb.size(); ++i) {
    state = state * 1664525u + 1013904223u;
    argb[i] = state;
    rgb[i] = state >> 8;
    index[i] = state >> 24;
  }
  layer::bmp::BmpDescription d;
  d.width = kSize;
  d.height = kSize;
  d.bit_count = 24;
  Files().push_back({"24bit", layer::bmp::WriteBmp(d, rgb), {}});
  d.bit_count = 8;
  for (uint32_t i = 0; i < 256; ++i) d.palette.push_back(i * 0x010203u);
  Files().push_back({"8bit_palette", layer::bmp::WriteBmp(d, index), {}});
  d.bit_count = 32;
  d.palette.clear();
  Files().push_back({"32bit", layer::bmp::WriteBmp(d, argb), {}});
  // The game's menu as the browser page serves it, packed, and as the BMP file beside the
  // program elsewhere.
  const pictures::Canvas menu = pictures::RenderMenu();
  Files().push_back({"menu_packed", pictures::EncodePacked(menu), {}});
  Files().push_back({"menu_bmp", pictures::EncodeBmp24(menu), {}});
  for (TestFile& file : Files()) {
    file.path = (Directory() / (file.name + ".bmp")).string();
    std::ofstream out(file.path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.bytes.data()), std::streamsize(file.bytes.size()));
  }
}

void LoadPictureBench(benchmark::State& state, const TestFile* file) {
  layer::ImageBuffer* image = layer::CreateImage(kSize, kSize, 0, 0, layer::kDefaultFill);
  for (auto _ : state) {
    if (layer::LoadPicture(file->path, image) != 0) state.SkipWithError("LoadPicture failed");
    benchmark::ClobberMemory();
  }
  layer::ReleaseImage(image);
}

void SdlBench(benchmark::State& state, const TestFile* file) {
  for (auto _ : state) {
    SDL_Surface* surface =
        SDL_LoadBMP_RW(SDL_RWFromConstMem(file->bytes.data(), int(file->bytes.size())), 1);
    if (!surface) state.SkipWithError("SDL_LoadBMP failed");
    benchmark::DoNotOptimize(surface);
    SDL_FreeSurface(surface);
  }
}

// The same, converted to the 32-bit pixels LoadPicture makes: SDL keeps 8- and 24-bit
// pictures in their own format, so the plain load does less work.
void SdlArgbBench(benchmark::State& state, const TestFile* file) {
  for (auto _ : state) {
    SDL_Surface* surface =
        SDL_LoadBMP_RW(SDL_RWFromConstMem(file->bytes.data(), int(file->bytes.size())), 1);
    if (!surface) state.SkipWithError("SDL_LoadBMP failed");
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_ARGB8888, 0);
    if (!argb) state.SkipWithError("SDL_ConvertSurfaceFormat failed");
    benchmark::DoNotOptimize(argb);
    SDL_FreeSurface(argb);
    SDL_FreeSurface(surface);
  }
}

// The floor for any loader that reads the file by name: open, one read of it all, close.
void ReadOnlyBench(benchmark::State& state, const TestFile* file) {
  std::vector<uint8_t> bytes(file->bytes.size());
  for (auto _ : state) {
    const int fd = ::open(file->path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::read(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size())) {
      state.SkipWithError("read failed");
    }
    if (fd >= 0) ::close(fd);
    benchmark::ClobberMemory();
  }
}

void SdlFileBench(benchmark::State& state, const TestFile* file) {
  for (auto _ : state) {
    SDL_Surface* surface = SDL_LoadBMP(file->path.c_str());
    if (!surface) state.SkipWithError("SDL_LoadBMP failed");
    benchmark::DoNotOptimize(surface);
    SDL_FreeSurface(surface);
  }
}

void StbFileBench(benchmark::State& state, const TestFile* file) {
  for (auto _ : state) {
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels = stbi_load(file->path.c_str(), &w, &h, &channels, 4);
    if (!pixels) state.SkipWithError("stb_image failed");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
}

void StbBench(benchmark::State& state, const TestFile* file) {
  for (auto _ : state) {
    int w = 0, h = 0, channels = 0;
    // Four channels: the same 32-bit output LoadPicture makes.
    stbi_uc* pixels =
        stbi_load_from_memory(file->bytes.data(), int(file->bytes.size()), &w, &h, &channels, 4);
    if (!pixels) state.SkipWithError("stb_image failed");
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
}

void PutImageBench(benchmark::State& state) {
  layer::ImageBuffer* image = layer::CreateImage(kSize, kSize, 0x123456, 0, 0);
  for (auto _ : state) {
    layer::PutImage(0.0f, 0.0f, image);
    benchmark::ClobberMemory();
  }
  layer::ReleaseImage(image);
}

void MemcpyRowsBench(benchmark::State& state) {
  // The same rows PutImage moves: 651 rows of 2604 bytes from a 2608-byte pitch.
  std::vector<uint8_t> from(size_t{kSize} * 2608, 0x5A), to(size_t{kSize} * kSize * 4);
  for (auto _ : state) {
    for (int32_t y = 0; y < kSize; ++y) {
      std::memcpy(to.data() + size_t(y) * kSize * 4, from.data() + size_t(y) * 2608, kSize * 4);
    }
    benchmark::ClobberMemory();
  }
}

// Keeps each benchmark's real time per iteration (in its unit, microseconds) for the ratios.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // With --benchmark_repetitions the median counts; without, the single run.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        times_us[run.run_name.function_name] = run.GetAdjustedRealTime();
      } else if (run.run_type == Run::RT_Iteration && !times_us.count(run.run_name.function_name)) {
        times_us[run.run_name.function_name] = run.GetAdjustedRealTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times_us;
};

}  // namespace

int main(int argc, char** argv) {
  layer::testing::UseHeadlessBackend();
  if (layer::OpenScreen(kSize, kSize, 32, 0, 0, 0) != 0) return 1;
  MakeFiles();
  for (const TestFile& file : Files()) {
    const auto add = [&](const std::string& name, auto* routine) {
      benchmark::RegisterBenchmark((name + "/" + file.name).c_str(), routine, &file)
          ->Unit(benchmark::kMicrosecond);
    };
    add("LoadPicture_file", LoadPictureBench);
    add("read_file_only", ReadOnlyBench);
    if (file.bytes[0] != 'B') continue;  // SDL and stb read BMP files only
    add("SDL_LoadBMP_file", SdlFileBench);
    add("stb_image_file", StbFileBench);
    add("SDL_LoadBMP_memory", SdlBench);
    add("SDL_LoadBMP_memory_argb", SdlArgbBench);
    add("stb_image_memory", StbBench);
  }
  benchmark::RegisterBenchmark("PutImage/651x651", PutImageBench)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("memcpy_rows/651x651", MemcpyRowsBench)
      ->Unit(benchmark::kMicrosecond);

  benchmark::Initialize(&argc, argv);
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  const auto& t = reporter.times_us;
  const auto time = [&](const std::string& name) {
    const auto found = t.find(name);
    return found == t.end() ? 0.0 : found->second;
  };
  std::printf(
      "\nRatios: time of LoadPicture / time of the peer (below 1: LoadPicture is faster)\n");
  std::printf("%-13s %12s | %-24s | %-24s | %-24s | %-24s | %-24s\n", "file", "LoadPicture",
              "SDL file", "stb file", "SDL memory", "SDL memory to ARGB", "stb memory");
  for (const TestFile& file : Files()) {
    const double ours = time("LoadPicture_file/" + file.name);
    std::printf("%-13s %9.1f us", file.name.c_str(), ours);
    for (const char* peer : {"SDL_LoadBMP_file", "stb_image_file", "SDL_LoadBMP_memory",
                             "SDL_LoadBMP_memory_argb", "stb_image_memory"}) {
      const double theirs = time(std::string(peer) + "/" + file.name);
      std::printf(" | %9.1f us ratio %5.2f", theirs, theirs > 0 ? ours / theirs : 0.0);
    }
    std::printf("\n");
  }
  for (const TestFile& file : Files()) {
    std::printf("%s: reading the file alone (open, read, close) takes %.1f us\n", file.name.c_str(),
                time("read_file_only/" + file.name));
  }
  const double put = time("PutImage/651x651");
  const double copy = time("memcpy_rows/651x651");
  if (put > 0 && copy > 0) {
    std::printf("PutImage %.1f us vs memcpy of the same rows %.1f us: ratio %.2f\n", put, copy,
                put / copy);
  }
  std::filesystem::remove_all(Directory());
  layer::testing::CloseScreenForTest();
  return 0;
}
