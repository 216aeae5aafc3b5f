// Reading and showing numbers beside the C library on the same inputs:
// TextToReal beside strtod on texts both can read, and NumberToText of a
// double beside snprintf("%.17g"). Items are single conversions.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "values/numbers.h"

namespace {

// What the boxes hold: whole amounts, hours with fractions, exponents.
const std::vector<std::string> kBoxTexts = {"1820", "200",    "0",   "175",  "300",
                                            "2",    "17.415", "1e3", "10.5", "-3.25",
                                            " 42",  "0.05",   "8",   "174",  "2020.5"};

// The box texts typed in full-width forms (GBK), which only TextToReal reads.
std::string FullWidth(const std::string& ascii) {
  std::string out;
  for (char c : ascii) {
    if (c == ' ') {
      out += "\xa1\xa1";
    } else {
      out += '\xa3';
      out += static_cast<char>(static_cast<unsigned char>(c) + 0x80);
    }
  }
  return out;
}

// Doubles of every magnitude the program meets and beyond, fixed seed.
const std::vector<double>& Doubles() {
  static const std::vector<double> values = [] {
    std::vector<double> v = {1820.0 / 174, 15.69, 2730.0, 0.1, 1e-5, 1e15, 123456789.125, -42.5};
    std::mt19937_64 random(20240307);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-8, 16);
    for (int i = 0; i < 56; ++i) {
      v.push_back(mantissa(random) * std::pow(10.0, exponent(random)) * (i % 5 == 0 ? -1 : 1));
    }
    return v;
  }();
  return values;
}

std::string Printed(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

// Box texts and every double printed with 17 digits, as ASCII.
const std::vector<std::string>& AsciiTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t = kBoxTexts;
    for (double d : Doubles()) t.push_back(Printed(d));
    return t;
  }();
  return texts;
}

const std::vector<std::string>& FullWidthTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    for (const std::string& s : kBoxTexts) t.push_back(FullWidth(s));
    return t;
  }();
  return texts;
}

void BM_TextToReal(benchmark::State& state, const std::vector<std::string>* texts) {
  for (auto _ : state) {
    for (const std::string& t : *texts) benchmark::DoNotOptimize(values::TextToReal(t));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts->size()));
}

void BM_Strtod(benchmark::State& state, const std::vector<std::string>* texts) {
  for (auto _ : state) {
    for (const std::string& t : *texts) {
      benchmark::DoNotOptimize(std::strtod(t.c_str(), nullptr));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(texts->size()));
}

void BM_NumberToText(benchmark::State& state) {
  for (auto _ : state) {
    for (double d : Doubles()) benchmark::DoNotOptimize(values::NumberToText(d));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Doubles().size()));
}

void BM_Snprintf(benchmark::State& state) {
  char buffer[32];
  for (auto _ : state) {
    for (double d : Doubles()) {
      benchmark::DoNotOptimize(std::snprintf(buffer, sizeof buffer, "%.17g", d));
      benchmark::ClobberMemory();
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(Doubles().size()));
}

}  // namespace

BENCHMARK_CAPTURE(BM_TextToReal, ascii, &AsciiTexts());
BENCHMARK_CAPTURE(BM_Strtod, ascii, &AsciiTexts());
BENCHMARK_CAPTURE(BM_TextToReal, box_full_width, &FullWidthTexts());
BENCHMARK_CAPTURE(BM_Strtod, box_ascii, &kBoxTexts);
BENCHMARK(BM_NumberToText);
BENCHMARK(BM_Snprintf);
