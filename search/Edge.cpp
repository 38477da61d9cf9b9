// Packing and unpacking of the 12-byte overlap edge.
#include "search/Edge.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <iostream>

namespace ostrel {

int Edge::mMatePairScaleFactor = 1;

namespace {

// A value cut to 0 .. top; computed in 64 bits so that no difference or
// magnitude of two ints can overflow.
uint32_t Cut(int64_t value, int64_t top) { return static_cast<uint32_t>(std::clamp<int64_t>(value, 0, top)); }

// value / unit in a byte field (values below 0 store 0).
uint32_t Scaled(int64_t value, int unit) { return Cut(value < 0 ? 0 : value / unit, 255); }

int MateUnit() { return std::max(Edge::mMatePairScaleFactor, 1); }

// stored x unit, held below INT_MAX for very large factors.
int Unscaled(uint32_t stored, int unit) {
  return static_cast<int>(std::min<int64_t>(static_cast<int64_t>(stored) * unit, INT_MAX));
}

bool IdInRange(int id) {
  if (id >= 0 && id <= Edge::kMaxId) return true;
  std::cerr << "Edge ERROR: identifier " << id << " outside 0 .. " << Edge::kMaxId << ", edge left unchanged"
            << std::endl;
  return false;
}

}  // namespace

bool Edge::Pack(int id, int len, int score, int leftHang, int rightHang, int orientation, int unit,
                uint32_t flags) {
  if (!IdInRange(id)) return false;
  const int64_t left = leftHang;
  const int64_t right = rightHang;
  uint32_t word0 = static_cast<uint32_t>(id) | flags;
  if (orientation > 0) word0 |= kForwardBit;
  if (left < 0) word0 |= kLeftNegativeBit;
  if (right < 0) word0 |= kRightNegativeBit;
  mWords[0] = word0;
  mWords[1] = Scaled(std::llabs(right), unit) | Scaled(len, unit) << 8 | Scaled(std::llabs(left), unit) << 16 |
              Cut(static_cast<int64_t>(len) - score, 127) << 24;
  return true;
}

bool Edge::SetValues(int id, int len, int score, int leftHang, int rightHang, int orientation) {
  return Pack(id, len, score, leftHang, rightHang, orientation, kUnit, 0);
}

bool Edge::SetValues(int id, int len, int score, int leftHang, int rightHang, int orientation, int aux) {
  if (!SetValues(id, len, score, leftHang, rightHang, orientation)) return false;
  mWords[2] = Cut(aux, 255);
  return true;
}

bool Edge::SetMateValues(int id, int len, int score, int leftHang, int rightHang, int orientation) {
  return Pack(id, len, score, leftHang, rightHang, orientation, MateUnit(), kMateBit);
}

void Edge::GetValues(int& id, int& len, int& score, int& leftHang, int& rightHang, int& orientation) const {
  const int unit = (mWords[0] & kMateBit) != 0 ? MateUnit() : kUnit;
  id = GetTargetId();
  orientation = (mWords[0] & kForwardBit) != 0 ? 1 : 0;
  len = Unscaled(mWords[1] >> 8 & 0xFF, unit);
  leftHang = Unscaled(mWords[1] >> 16 & 0xFF, unit);
  rightHang = Unscaled(mWords[1] & 0xFF, unit);
  if ((mWords[0] & kLeftNegativeBit) != 0) leftHang = -leftHang;
  if ((mWords[0] & kRightNegativeBit) != 0) rightHang = -rightHang;
  score = len - static_cast<int>(mWords[1] >> 24 & 0x7F);
}

void Edge::GetValues(int& id, int& len, int& score, int& leftHang, int& rightHang, int& orientation,
                     int& aux) const {
  GetValues(id, len, score, leftHang, rightHang, orientation);
  aux = static_cast<int>(mWords[2] & 0xFF);
}

bool Edge::SetTargetId(int id) {
  if (!IdInRange(id)) return false;
  mWords[0] = (mWords[0] & ~kIdMask) | static_cast<uint32_t>(id);
  return true;
}

void Edge::InvertHangs() {
  if ((mWords[0] & kForwardBit) == 0) {
    const uint32_t right = mWords[1] & 0xFF;
    const uint32_t left = mWords[1] >> 16 & 0xFF;
    mWords[1] = (mWords[1] & ~0x00FF00FFu) | left | right << 16;
    const bool leftNegative = (mWords[0] & kLeftNegativeBit) != 0;
    const bool rightNegative = (mWords[0] & kRightNegativeBit) != 0;
    mWords[0] &= ~(kLeftNegativeBit | kRightNegativeBit);
    if (rightNegative) mWords[0] |= kLeftNegativeBit;
    if (leftNegative) mWords[0] |= kRightNegativeBit;
  }
  mWords[0] ^= kLeftNegativeBit | kRightNegativeBit;
}

}  // namespace ostrel
