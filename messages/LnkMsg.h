// Texts of what happens on the robot link, in the user's language: the
// message table supplies them, the built-in English texts where it cannot.
// The link reports numbers; these turn them into what the user reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The stream of len bytes does not fit one frame: the text, then len.
std::string PckTooLngMsg(std::size_t len, std::uint8_t lge);

// "<lead-in> <address>: <text of the kind>"; a kind the robot does not
// define reads as the first text. With the name of the vio that holds the
// address (framed on the field), the vio is named instead of the address:
// "<lead-in of the framed block> <vio>: <text of the kind>".
std::string RbtFltMsg(std::uint8_t adr, std::uint8_t knd, std::uint8_t lge, const std::string& vio = {});
