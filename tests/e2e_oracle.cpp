#include "e2e_oracle.h"

namespace oracle {

namespace {
const std::string digs = "ABDEGHIJKMPRSUWY734568CFLNOQTVXZ";

struct Gen {
  uint32_t s[31];
  int f = 3, b = 0;
  explicit Gen(int32_t v) {
    if (v == 0) v = 1;
    s[0] = static_cast<uint32_t>(v);
    for (int i = 1; i < 31; ++i) {
      const int64_t w = static_cast<int32_t>(s[i - 1]);
      int64_t t = (16807 * w) % 2147483647;
      if (t < 0) t += 2147483647;
      s[i] = static_cast<uint32_t>(t);
    }
    for (int i = 0; i < 310; ++i) next();
  }
  uint32_t next() {
    s[f] += s[b];
    const uint32_t out = s[f] >> 1;
    f = (f + 1) % 31;
    b = (b + 1) % 31;
    return out;
  }
};
}  // namespace

std::vector<std::string> built(int cls) {
  std::vector<std::string> e(256);
  for (int i = 0; i < 16; ++i) {
    for (int j = 0; j < 16; ++j) {
      const int c = j == 0 ? 0 : ((j + cls - 1) % 15) + 1;
      const int m = (3 * j + i) % 16;
      const bool star = i == m || (i > m && (3 * j + m) % 16 == i);
      e[16 * i + c] = std::string(1, star ? '*' : ' ') + digs[i] + digs[16 + c] + digs[m];
    }
  }
  return e;
}

std::vector<std::string> aids(int cls) {
  std::vector<std::string> out;
  for (const auto& e : built(cls)) {
    if (e[0] != '*') out.push_back(e.substr(1));
  }
  return out;
}

std::vector<int> shuffled(int32_t seed, int nid) {
  Gen g(seed);
  std::vector<int> idorg(nid);
  for (int k = 0; k < nid; ++k) idorg[k] = k;
  for (int k = 0; k < nid; ++k) {
    const float r = static_cast<float>(static_cast<double>(g.next()) / 2147483648.0);
    const int p = k + static_cast<int>(static_cast<double>(r) * (nid - k));
    std::swap(idorg[k], idorg[p]);
  }
  return idorg;
}

std::string rjust(const std::string& v, size_t w) {
  return v.size() >= w ? v : std::string(w - v.size(), ' ') + v;
}
std::string rjust(long v, size_t w) { return rjust(std::to_string(v), w); }

}  // namespace oracle
