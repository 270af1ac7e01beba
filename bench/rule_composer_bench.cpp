// Composing a rule with every declaration enabled, beside a plain copy of the
// same number of bytes: the copy is the floor that composition is measured
// against.
#include "style/font_colour.h"
#include "style/rule_composer.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

using namespace style;

struct FullRule {
  RuleSettings rule;
  StyleSettingsStore store;
};

FullRule fullRule() {
  FullRule f;
  FontDescription font;
  font.faceName = "ＭＳ Ｐゴシック";
  font.height = -16;
  font.weight = 700;
  font.italic = font.underline = font.strikeOut = true;
  f.store.fontDeclarations = fontDeclarations(font);
  for (std::size_t side = 0; side < SideCount; ++side) {
    f.store.border[side] = {"#336699", "px", 4, 2, true};
    f.store.margin[side] = {-10, "em", true};
    f.store.padding[side] = {12, "px", true};
  }
  RuleSettings& r = f.rule;
  r.selector = "A:HOVER";
  r.backgroundColour = "#FFFFFF";
  r.backgroundImage = "images/background.png";
  r.backgroundFixed = true;
  r.repeatIndex = 2;
  r.alignIndex = 3;
  r.valignIndex = 5;
  r.width = 640;
  r.widthUnit = "%";
  r.height = 480;
  r.cursorIndex = 13;
  r.stackOrder = 100;
  r.positionIndex = 2;
  r.top = r.bottom = r.left = r.right = 25;
  r.hidden = true;
  return f;
}

void BM_ComposeFullRule(benchmark::State& state) {
  const FullRule f = fullRule();
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = RuleComposer::compose(f.rule, f.store);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["rule_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ComposeFullRule);

void BM_MemcpyRuleBytes(benchmark::State& state) {
  const FullRule f = fullRule();
  const std::string source = RuleComposer::compose(f.rule, f.store);
  std::string target(source.size(), '\0');
  for (auto _ : state) {
    benchmark::DoNotOptimize(source.data());
    std::memcpy(target.data(), source.data(), source.size());
    benchmark::DoNotOptimize(target.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
  state.counters["rule_bytes"] = static_cast<double>(source.size());
}
BENCHMARK(BM_MemcpyRuleBytes);

} // namespace
