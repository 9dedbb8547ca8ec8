// The set of AID candidates of a class distinction number.
#pragma once
#include <cstdint>

#include "run_state.h"

// The alphabet: characters 1 to 16 for the first and third character of an
// AID, characters 17 to 32 for the middle one.  The order matters.
inline constexpr char digs[] = "ABDEGHIJKMPRSUWY734568CFLNOQTVXZ";
constexpr int32_t NHALF = 16;   // characters in each half of digs
constexpr int32_t NBUILT = 256; // strings built before the elimination

// Builds the 256 strings of class distinction number cls: idstr(k) is a flag
// byte (blank, or "*" for a string to eliminate) and the three characters;
// idorg becomes the identity and nid 256.
void build_aids(int32_t cls, char (&idstr)[CANDMAX][4], int32_t (&idorg)[CANDMAX],
                int32_t& nid);

// Removes the starred entries of idstr(0..nid-1), keeping the order of the
// others; nid becomes the count left.
void drop_starred(char (&idstr)[CANDMAX][4], int32_t& nid);
