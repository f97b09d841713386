// Giving memory back to the system. Texts of a few dozen kilobytes each live in the heap, and
// when a whole word book of them is freed the heap keeps their pages; this hands the free
// pages back. It frees nothing the program still holds.
#pragma once

void AfxReturnFreedMemory();
