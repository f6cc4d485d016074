// Throughput of the reply-handling routines over texts shaped like the translation service's
// replies: ASCII with backslash-u escapes.
#include <benchmark/benchmark.h>

#include <string>

#include "translate/cookie_text.h"
#include "translate/escape_decoding.h"
#include "translate/marker_extraction.h"
#include "translate/url_encoding.h"

namespace {

using quillorn::Text;

constexpr std::string_view kReplyItem =
    "{\"src\":\"It\\'s a fine day \\/ isn\\'t it?\",\"dst\":\"\\u4eca\\u5929\\u5929\\u6c14"
    "\\u4e0d\\u9519\\uff0c\\u4e0d\\u662f\\u5417\\uff1f\"},";

Text ReplyLikeText(std::size_t bytes) {
  Text text;
  text.reserve(bytes + kReplyItem.size());
  while (text.size() < bytes) text.append(kReplyItem);
  text.resize(bytes);
  while (!text.empty() && text.back() == '\\') text.pop_back();  // keep the body valid
  return text;
}

const Text& TenMegabytes() {
  static const Text text = ReplyLikeText(10 << 20);
  return text;
}

void BM_UrlEncode(benchmark::State& state) {
  const Text& text = TenMegabytes();
  for (auto _ : state) benchmark::DoNotOptimize(quillorn::UrlEncode(text, true, true));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UrlEncode)->Unit(benchmark::kMillisecond);

void BM_UnescapeText(benchmark::State& state) {
  const Text& text = TenMegabytes();
  for (auto _ : state) benchmark::DoNotOptimize(quillorn::UnescapeText(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_UnescapeText)->Unit(benchmark::kMillisecond);

void BM_AllTextsBetween(benchmark::State& state) {
  const auto items = static_cast<std::size_t>(state.range(0));
  Text reply = "{\"trans_result\":[";
  for (std::size_t i = 0; i < items; ++i) reply.append(kReplyItem);
  reply.append("]}");
  quillorn::TextList list;
  for (auto _ : state) {
    benchmark::DoNotOptimize(quillorn::AllTextsBetween(reply, "\"dst\":\"", "\"", list));
  }
  if (list.size() != items) state.SkipWithError("wrong item count");
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_AllTextsBetween)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_MergeCookies(benchmark::State& state) {
  // 10,000 items on each side; half of the incoming names are also old names.
  Text current, incoming;
  for (int i = 0; i < 10000; ++i) {
    current += "old" + std::to_string(i) + "=v" + std::to_string(i) + "; ";
    incoming += (i % 2 ? "old" : "new") + std::to_string(i) + "=w; ";
  }
  for (auto _ : state) {
    Text c = current, in = incoming;
    benchmark::DoNotOptimize(quillorn::MergeCookies(c, in));
  }
}
BENCHMARK(BM_MergeCookies)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
