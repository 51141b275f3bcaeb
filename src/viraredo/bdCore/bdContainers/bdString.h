#pragma once
// Copy-on-write string. The characters are preceded by a header {count, length,
// capacity}; capacity is a multiple of 64 holding the text and its zero. Every
// empty string shares one static representation that is never freed.

class bdString {
 public:
  bdString();
  bdString(const char* text);  // NOLINT: implicit by design
  bdString(const bdString& other);
  ~bdString();

  bdString& operator=(const bdString& other);
  bdString& operator=(const char* text);
  bdString& operator+=(const bdString& other);
  bdString& operator+=(const char* text);
  bdString& operator+=(char c);
  bdString operator+(const bdString& other) const;
  bdString operator+(const char* text) const;

  bool operator==(const bdString& other) const;
  bool operator==(const char* text) const;
  bool operator!=(const bdString& other) const { return !(*this == other); }
  bool operator!=(const char* text) const { return !(*this == text); }

  // Characters [start, min(length, end)); empty when start is not below that.
  bdString substr(unsigned int start, unsigned int end) const;
  bool find(char c, unsigned int& index) const;

  const char* getBuffer() const;
  unsigned int getLength() const;
  unsigned int getCapacity() const;
  // Whether the block holds n characters and the zero without reallocation.
  bool isCapacityEnough(unsigned int n) const;
  unsigned int getRefCount() const;

 private:
  struct Rep;
  explicit bdString(Rep* rep) : m_rep(rep) {}
  static Rep* emptyRep();
  static Rep* makeRep(const char* a, unsigned int lengthA, const char* b, unsigned int lengthB);
  static void acquire(Rep* rep);
  static void release(Rep* rep);
  bool appendInPlace(const char* text, unsigned int length);
  void append(const char* text, unsigned int length);
  char* chars() const;

  Rep* m_rep;
};
