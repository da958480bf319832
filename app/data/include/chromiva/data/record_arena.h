// Address space for the record arrays of one sensor slot.
#pragma once

#include <array>
#include <cstddef>
#include <span>

namespace chromiva::data {

inline constexpr int kMaxPixels = 288;
inline constexpr int kRecordSlots = 86400;

using PixelArray = std::array<float, kMaxPixels>;

// The two per-pixel arrays of a record. (No member initialisers, so that loading can place
// them without zeroing what it overwrites.)
struct RecordSpectra {
  PixelArray rawSpectrum;
  PixelArray processedSpectrum;
};

// Every record slot of a sensor has a fixed place in one reserved range of address space.
// Memory is committed only when a place is first written, so an unused slot costs nothing.
// Untouched places read as zeros. Moving an arena keeps the places where they are.
class RecordArena {
 public:
  RecordArena() = default;  // reserves nothing until the first Place()
  ~RecordArena();
  RecordArena(RecordArena&& other) noexcept;
  RecordArena& operator=(RecordArena&& other) noexcept;
  RecordArena(const RecordArena&) = delete;
  RecordArena& operator=(const RecordArena&) = delete;

  // The place of record r (0 .. kRecordSlots - 1); reserves the range on first use and
  // throws std::bad_alloc when the address space cannot be had.
  RecordSpectra* Place(int record);

  // The bytes of the places of records first .. end - 1 (0 <= first <= end <= kRecordSlots,
  // else std::out_of_range), reserving the range like Place(); for committing memory ahead of
  // writing the places.
  std::span<std::byte> Places(int first, int end);

  bool reserved() const { return base_ != nullptr; }

  // Gives all memory back to the system; later places read as zeros again.
  void Release();

 private:
  std::byte* base_ = nullptr;
};

}  // namespace chromiva::data
