// Reading numbers from box texts and showing numbers as texts.
#pragma once

#include <cstdint>
#include <string_view>

#include "values/text.h"

namespace values {

// The longest decimal number at the start (after folding and white space);
// 0 when there is none. Never fails.
double TextToReal(std::string_view t);
// Optional sign and decimal digits, wrapping modulo 2^32; 0 when there are none.
int32_t TextToInt(std::string_view t);

// Plain decimal digits, '-' before negatives.
Text NumberToText(int32_t value);
// At most 13 significant digits, no trailing zeros, exponent notation below
// 0.0001 and from 1e13 on ('1e+013'); '1.#INF', '-1.#IND', '1.#QNAN' for the rest.
Text NumberToText(double value);

// Halves away from zero, after a nudge of 1e-12 on the scaled value.
double RoundToPlaces(double value, int32_t places = 0);
// The whole part, toward zero; values beyond the 32-bit range saturate and
// not-a-number gives 0.
int32_t RealToInt(double value);

}  // namespace values
