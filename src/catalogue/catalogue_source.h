#pragma once
// Where a catalogue's bytes come from: a regular file, a pipe (FIFO) or standard
// input, each read once from start to end. Folders and devices are refused, and
// a pipe that nobody writes into does not hold the program up.
#include <chrono>
#include <filesystem>
#include <memory>
#include <streambuf>

namespace tenmirel {

// How long a pipe may stay without a writer before it is given up.
inline constexpr std::chrono::milliseconds kPipeWriterWait{5000};

enum class SourceFailure {
  none,
  notFound,
  cannotOpen,  // a folder, no permission, or an error of the system
  notAFile,    // a device or a socket
  noWriter,    // a pipe that nobody wrote into in time
};

struct CatalogueSource {
  std::unique_ptr<std::streambuf> bytes;  // set when failure is none
  SourceFailure failure = SourceFailure::none;
};

CatalogueSource openCatalogueSource(const std::filesystem::path& file,
                                    std::chrono::milliseconds writerWait = kPipeWriterWait);
// The program's standard input, whatever it is connected to.
CatalogueSource standardInputSource();

}  // namespace tenmirel
