# Doubles computed in SSE2 registers, as every x86_64 build does.  The x87
# unit's 80-bit intermediates, rounded again to 64 bits, give other doubles:
# a price read one unit in the last place away from strtod, a fill-up of
# 45.23 written as another number than the 64-bit build writes.  Every x86
# processor since about 2004, and every one that runs Windows 8, has SSE2.
set(RT_I686_ARITHMETIC "-msse2 -mfpmath=sse")
