#pragma once

// The password store's key: the substitution table, the start byte of each slot and the
// enciphered blocks of the built-in service passwords. Internal to the access subsystem; the
// store and its tests are the only users.

#include <cstdint>
#include <span>

namespace vyn {

// A permutation of 0-255 forming a single cycle, so that no slot's keystream falls into a
// short loop.
std::span<const std::uint8_t, 256> PasswordKeyTable();

// Start byte of the keystream of slot 2-6; 0 for any other slot.
std::uint8_t PasswordSlotStartByte(int slot);

// The enciphered block of the built-in service password of level 4, 5 or 6, its terminating
// zero included, enciphered with the start byte of the slot of the same number; empty for any
// other level.
std::span<const std::uint8_t> ServicePasswordBlock(int level);

// Keystream cipher: k = start; for each byte k = table[k] and the byte is XORed with k.
// Enciphering and deciphering are the same operation.
void ApplyPasswordKeystream(std::span<std::uint8_t> bytes, std::uint8_t start);

// Pearson hash over the enciphered bytes with the same table: h = table[h ^ b], from h = 0.
std::uint8_t PasswordCheckByte(std::span<const std::uint8_t> enciphered);

}  // namespace vyn
