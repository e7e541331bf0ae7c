#pragma once
// The small files beside a cache file: the mark of an item fetched whole (its size), and the
// tag of what the first answer said of it (its size and validator), so that a later fetch
// takes an item up only if the server still has the same file.
#include <cstdint>
#include <string>

std::wstring CompleteMarkOf(const std::wstring& cache_file);
std::wstring ItemTagOf(const std::wstring& cache_file);

std::int64_t ReadCompleteMark(const std::wstring& mark);  // -1 without one
void WriteCompleteMark(const std::wstring& mark, std::int64_t size);

struct ItemTag {
  std::int64_t size = -1;  // as announced; -1: not
  std::string validator;
};
ItemTag ReadItemTag(const std::wstring& path);
void WriteItemTag(const std::wstring& path, const ItemTag& tag);
