// A packed overlap edge of three 32-bit words, for graphs with many edges.
//
// Word 0: bits 0-26 target identifier (0 .. 134217727), bit 27 orientation
//   (1 = same strand), bit 28 left hang negative, bit 29 right hang
//   negative, bit 30 mate-pair scaled, bit 31 always 0.
// Word 1: bits 0-7 |right hang| / unit, bits 8-15 length / unit, bits 16-23
//   |left hang| / unit (each at most 255), bits 24-30 length - score (at
//   most 127), bit 31 always 0.
// Word 2: bits 0-7 auxiliary count (at most 255), carried unchanged.
// The unit is 4, or mMatePairScaleFactor for an edge packed by
// SetMateValues, so lengths and hangs read back rounded down to a multiple of
// the unit; the score reads back relative to the stored length.
#ifndef OSTREL_SEARCH_EDGE_H
#define OSTREL_SEARCH_EDGE_H

#include <cstdint>

namespace ostrel {

class Edge {
public:
  static constexpr int kMaxId = 134217727;  // 27 bits
  static constexpr int kUnit = 4;           // unit of SetValues

  uint32_t mWords[3] = {0, 0, 0};

  // Process-wide state (one thread).
  // mMatePairScaleFactor: the unit of edges packed by SetMateValues. Written
  //   by the user of the library before packing or reading such edges; read
  //   by SetMateValues and GetValues, never written by them. A factor below
  //   1 is taken as 1.
  static int mMatePairScaleFactor;  // default 1

  // Packs an edge with unit 4 into words 0 and 1; word 2 is kept. Fields are
  // cut to their range: a length or difference below 0 stores 0, anything
  // above a field's top stores the top; an orientation other than 0 or 1 is
  // cut to 0 or 1. An identifier outside 0 .. kMaxId is refused: one line on
  // std::cerr, the edge keeps all its words, and the result is false.
  bool SetValues(int id, int len, int score, int leftHang, int rightHang, int orientation);
  // The same, then the auxiliary count min(aux, 255) (0 when negative).
  bool SetValues(int id, int len, int score, int leftHang, int rightHang, int orientation, int aux);
  // As SetValues with unit mMatePairScaleFactor, and bit 30 set.
  bool SetMateValues(int id, int len, int score, int leftHang, int rightHang, int orientation);

  // The stored values: lengths and hangs are stored units times the unit
  // (values past INT_MAX read as INT_MAX).
  void GetValues(int& id, int& len, int& score, int& leftHang, int& rightHang, int& orientation) const;
  void GetValues(int& id, int& len, int& score, int& leftHang, int& rightHang, int& orientation, int& aux) const;

  int GetTargetId() const { return static_cast<int>(mWords[0] & kIdMask); }
  // Replaces the target only; an identifier outside 0 .. kMaxId is refused
  // as in SetValues.
  bool SetTargetId(int id);

  // Turns the hangs to the target's point of view, exactly on the stored
  // fields: same strand, both negated; opposite strands, swapped and negated.
  void InvertHangs();

private:
  static constexpr uint32_t kIdMask = 0x07FFFFFFu;
  static constexpr uint32_t kForwardBit = 1u << 27;
  static constexpr uint32_t kLeftNegativeBit = 1u << 28;
  static constexpr uint32_t kRightNegativeBit = 1u << 29;
  static constexpr uint32_t kMateBit = 1u << 30;

  bool Pack(int id, int len, int score, int leftHang, int rightHang, int orientation, int unit, uint32_t flags);
};

}  // namespace ostrel

#endif
