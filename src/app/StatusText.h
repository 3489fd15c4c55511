#pragma once

#include <QString>
#include <cstdint>

// The counter line of a lesson: what is left, right, wrong and the score.
QString statusText(int remaining, std::int32_t right, std::int32_t wrong, std::int32_t score);
