#pragma once
// A member of a late-bound interface: the name a caller may bind by, and its dispatch id.
struct DispatchMember {
  const wchar_t* name;
  long id;
};
