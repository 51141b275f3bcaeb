#pragma once
// Bounded C-text routines used across the SDK. Every writer terminates its
// output when it has room for at least the zero.
#include <cstddef>

#include "bdCore/bdLog/bdLog.h"

unsigned int bdStrlen(const char* text);
// Copies at most size - 1 characters; returns the source's length.
unsigned int bdStrlcpy(char* dest, const char* src, unsigned int size);
// Appends within size; returns the length the full result would have.
unsigned int bdStrlcat(char* dest, const char* src, unsigned int size);
// printf into size bytes; returns the length the full text would have.
int bdSnprintf(char* dest, unsigned int size, const char* format, ...) BD_PRINTF_FORMAT(3, 4);
// -1, 0 or 1 over n bytes compared as unsigned.
int bdMemcmp(const void* a, const void* b, std::size_t n);
