// One listing of a random picture, as "Преобразовать" makes it, and the bytes of its file.
#include <benchmark/benchmark.h>

#include "codegen/listing.h"
#include "core/test_pictures.h"

namespace lumigrid {
namespace {

using testing::RandomPicture;

PictureBuffer NamedPicture() {
  PictureBuffer buffer;
  buffer.Bytes() = RandomPicture(42);
  buffer.SetFileName(R"(C:\Рисунки\логотип.chr)");
  return buffer;
}

ListingOptions BenchOptions(bool grouped) {
  ListingOptions options;
  options.group_by_crystal = grouped;
  options.add_file_name = true;
  return options;
}

void BM_GenerateListing(benchmark::State& state) {
  const PictureBuffer buffer = NamedPicture();
  const ListingOptions options = BenchOptions(state.range(0) != 0);
  for (auto _ : state) benchmark::DoNotOptimize(GenerateListing(buffer, 1, options));
}
BENCHMARK(BM_GenerateListing)->ArgName("grouped")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// What the conversion button does before the view gets the text.
void BM_GenerateListingText(benchmark::State& state) {
  const PictureBuffer buffer = NamedPicture();
  const ListingOptions options = BenchOptions(state.range(0) != 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(JoinListingLines(*GenerateListing(buffer, 1, options)));
  }
}
BENCHMARK(BM_GenerateListingText)
    ->ArgName("grouped")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

void BM_ListingFileBytes(benchmark::State& state) {
  const std::string text =
      JoinListingLines(*GenerateListing(NamedPicture(), 1, BenchOptions(true)));
  for (auto _ : state) benchmark::DoNotOptimize(ListingFileBytes(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ListingFileBytes)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumigrid
