// The system's ANSI code page: conversion of wide texts, for archives and
// for the BSTRs that reach Gleanix.
#pragma once
#include <cstddef>
#include <string>

void InstallSystemCodePage();
// UTF-16 text to the ANSI code page; characters it lacks become its default.
std::string ToAnsiCodePage(const wchar_t* text, std::size_t length);
