// Runs a fuzz target over every file of its corpus folder once, so the seeds
// and every finding that was kept stay regression tests in the ordinary builds.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  int count = 0;
  // A missing folder throws, and an empty one fails below: no seed, no test.
  for (const auto& seed : std::filesystem::directory_iterator(argc == 2 ? argv[1] : "")) {
    std::ifstream in(seed.path(), std::ios::binary);
    const std::vector<char> bytes(std::istreambuf_iterator<char>(in), {});
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++count;
  }
  std::printf("%d seeds passed\n", count);
  return count > 0 ? 0 : 1;
}
