# Site key constants of the M1 sector keys. A sector key is six bytes:
#   byte 1     WENLOCK_KEY_LEAD
#   bytes 2-5  the card serial from its least to its most significant byte, each combined by
#              exclusive-or with WENLOCK_KEY_MASK1 ... WENLOCK_KEY_MASK4 in that order
#   byte 6     the sector number combined by exclusive-or with WENLOCK_KEY_MASK5
# They must equal the values the site's cards were keyed with; set them when configuring, e.g.
#   cmake --preset mingw32 -DWENLOCK_KEY_LEAD=5A -DWENLOCK_KEY_MASK1=...
# The defaults below only key the simulated cards of this build; the derivation, the simulated reader
# and the card tool all read them from the one generated header SiteKeys.h (reader/SiteKeys.h.in).
set(WENLOCK_KEY_LEAD  "8F" CACHE STRING "Leading byte of every M1 sector key (two hex digits)")
set(WENLOCK_KEY_MASK1 "3C" CACHE STRING "Mask of the least significant serial byte (two hex digits)")
set(WENLOCK_KEY_MASK2 "A5" CACHE STRING "Mask of the second serial byte (two hex digits)")
set(WENLOCK_KEY_MASK3 "69" CACHE STRING "Mask of the third serial byte (two hex digits)")
set(WENLOCK_KEY_MASK4 "D2" CACHE STRING "Mask of the most significant serial byte (two hex digits)")
set(WENLOCK_KEY_MASK5 "1E" CACHE STRING "Mask of the sector number (two hex digits)")

foreach(setting WENLOCK_KEY_LEAD WENLOCK_KEY_MASK1 WENLOCK_KEY_MASK2 WENLOCK_KEY_MASK3
                WENLOCK_KEY_MASK4 WENLOCK_KEY_MASK5)
  if(NOT "${${setting}}" MATCHES "^[0-9A-Fa-f][0-9A-Fa-f]$")
    message(FATAL_ERROR "${setting} must be one byte as two hex digits, not '${${setting}}'")
  endif()
endforeach()
