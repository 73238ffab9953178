// The system's ANSI code page: conversion of wide texts, for archives and
// for the BSTRs that reach Gleanix.
#pragma once
#include <cstddef>
#include <string>

void InstallSystemCodePage();
// UTF-16 text to the ANSI code page; characters it lacks become its default.
std::string ToAnsiCodePage(const wchar_t* text, std::size_t length);
// The bytes ToAnsiCodePage gives for this text, without converting it.
std::size_t AnsiCodePageLength(const wchar_t* text, std::size_t length);
// Converts into `out`, which has room for exactly `size` bytes, the length
// AnsiCodePageLength gave.
void ToAnsiCodePageInto(const wchar_t* text, std::size_t length, char* out, std::size_t size);
