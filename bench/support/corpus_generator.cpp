#include "support/corpus_generator.h"

#include <cmath>
#include <cstring>

namespace bench {

namespace {

// The wording licence agreements are made of; clauses are sentences built
// from a subject, a verb phrase and an object, joined by the connectives.
const char* const kSubjects[] = {
    "The Licensee", "The Licensor",   "Each Contributor",    "You",
    "The Software", "This Agreement", "Any Derivative Work", "The copyright holder",
    "Any party",    "The Recipient",  "Such Contribution",   "The original author",
};
const char* const kVerbs[] = {
    "shall not be liable for",
    "may distribute copies of",
    "must retain",
    "is granted a non-exclusive licence to use",
    "shall indemnify the Licensor against",
    "may not sublicense",
    "acknowledges",
    "agrees to reproduce",
    "is provided without warranty of",
    "shall cause modified files to carry",
    "may terminate",
    "disclaims all liability for",
};
const char* const kObjects[] = {
    "the Software and its documentation",
    "any direct, indirect, incidental or consequential damages",
    "the above copyright notice and this permission notice",
    "all patent, trademark and attribution notices",
    "any modifications made to the Source form",
    "the rights granted under this Licence",
    "merchantability or fitness for a particular purpose",
    "the terms and conditions of this Agreement",
    "prominent notices stating that the files were changed",
    "any claim arising out of the use of the Software",
};
const char* const kConnectives[] = {
    ", provided that ",
    ", except as expressly stated in ",
    " and ",
    "; however, ",
    ", subject to ",
    ", in accordance with ",
    " unless ",
};

}  // namespace

Generator::Generator(uint32_t seed) : random_(seed) {
  // A vocabulary with a Zipf-like use: a few words are very common.
  const char* const letters = "etaoinshrdlcumwfgypbvkjxqz";
  for (int i = 0; i < 3000; ++i) {
    std::string word;
    const int length = 2 + static_cast<int>(random_() % 9);
    for (int j = 0; j < length; ++j) word += letters[Skewed(26)];
    words_.push_back(word);
  }
}

Bytes Generator::Text(size_t size) {
  Bytes out;
  out.reserve(size + 64);
  size_t line = 0;
  while (out.size() < size) {
    const std::string& w = words_[Skewed(words_.size())];
    out.insert(out.end(), w.begin(), w.end());
    line += w.size() + 1;
    if (line > 60 + random_() % 20) {
      out.push_back('\n');
      line = 0;
    } else {
      out.push_back(random_() % 17 == 0 ? ',' : ' ');
    }
  }
  out.resize(size);
  return out;
}

Bytes Generator::Xml(size_t size) {
  std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Resources>\n";
  uint32_t id = 0;
  while (out.size() + 20 < size) {
    const std::string& tag = words_[Skewed(40)];
    out += "  <" + tag + " Id=\"" + std::to_string(++id) + "\" Name=\"" +
           words_[Skewed(words_.size())] + "\" Size=\"" + std::to_string(random_() % 100000) +
           "\" Date=\"20" + std::to_string(10 + random_() % 15) + "-0" +
           std::to_string(1 + random_() % 9) + "-1" + std::to_string(random_() % 10) +
           "T10:20:30.000000Z\">";
    for (int i = 0, n = static_cast<int>(random_() % 8); i < n; ++i) {
      out += words_[Skewed(words_.size())] + " ";
    }
    out += "</" + tag + ">\n";
  }
  out += "</Resources>\n";
  return Bytes(out.begin(), out.end());  // about `size`: whole elements only
}

Bytes Generator::Executable(size_t size) {
  Bytes out;
  out.reserve(size + 4096);
  static const std::vector<Bytes> kTemplates = {{0x55},
                                                {0x8B, 0xEC},
                                                {0x83, 0xEC, 0},
                                                {0x89, 0x45, 0},
                                                {0x8B, 0x45, 0},
                                                {0xE8, 0, 0, 0, 0},
                                                {0xC3},
                                                {0x5D},
                                                {0x6A, 0},
                                                {0xFF, 0x15, 0, 0, 0, 0},
                                                {0x85, 0xC0},
                                                {0x74, 0},
                                                {0x75, 0},
                                                {0x33, 0xC0},
                                                {0x48, 0x8B, 0x4C, 0x24, 0},
                                                {0x0F, 0x84, 0, 0, 0, 0},
                                                {0x50},
                                                {0x51},
                                                {0x8D, 0x4D, 0},
                                                {0xB8, 0, 0, 0, 0},
                                                {0x48, 0x89, 0x5C, 0x24, 0},
                                                {0xCC}};
  std::vector<uint32_t> addresses;
  for (int i = 0; i < 64; ++i) addresses.push_back(0x401000 + (random_() % 0x40000) * 4);
  while (out.size() < size) {
    const uint32_t section = random_() % 10;
    const size_t length = 4096 + random_() % 65536;
    if (section < 6) {  // code
      for (size_t n = 0; n < length;) {
        const Bytes& t = kTemplates[Skewed(kTemplates.size())];
        size_t at = out.size();
        out.insert(out.end(), t.begin(), t.end());
        if (t.size() == 5 || t.size() == 6) {
          const uint32_t a = addresses[Skewed(addresses.size())];
          for (int b = 0; b < 4; ++b)
            out[at + t.size() - 4 + b] = static_cast<uint8_t>(a >> (8 * b));
        } else if (t.size() >= 2 && t.back() == 0) {
          out.back() = static_cast<uint8_t>((Skewed(32)) * 4);
        }
        n += t.size();
      }
    } else if (section < 8) {  // pointer tables and structures
      for (size_t n = 0; n < length; n += 4) {
        const uint32_t a = random_() % 3 == 0 ? static_cast<uint32_t>(random_() % 256)
                                              : addresses[Skewed(addresses.size())];
        for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(a >> (8 * b)));
      }
    } else if (section == 8) {  // strings, some of them UTF-16
      const Bytes text = Text(length);
      if (random_() % 2) {
        out.insert(out.end(), text.begin(), text.end());
      } else {
        for (uint8_t c : text) {
          out.push_back(c);
          out.push_back(0);
        }
      }
    } else {  // alignment padding
      out.insert(out.end(), length / 8, 0);
    }
  }
  out.resize(size);
  return out;
}

Bytes Generator::Noise(size_t size) {
  Bytes out(size);
  for (size_t i = 0; i + 4 <= size; i += 4) {
    const uint32_t v = random_();
    std::memcpy(&out[i], &v, 4);
  }
  return out;
}

size_t Generator::Skewed(size_t n) {
  const double u = std::uniform_real_distribution<double>(0, 1)(random_);
  return static_cast<size_t>(std::pow(u, 3.0) * static_cast<double>(n)) % n;
}

size_t Generator::LogSize(size_t min, size_t max) {
  const double u = std::uniform_real_distribution<double>(0, 1)(random_);
  return static_cast<size_t>(
      std::exp(std::log(double(min)) + u * (std::log(double(max)) - std::log(double(min)))));
}

Bytes Generator::Licence(size_t size) {
  std::string text;
  text.reserve(size + 256);
  std::string line;
  auto add_word = [&](const std::string& word) {
    if (!line.empty() && line.size() + 1 + word.size() > 76) {
      text += line + "\n";
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
  };
  auto add_words = [&](const std::string& phrase) {
    size_t at = 0;
    while (at < phrase.size()) {
      size_t end = phrase.find(' ', at);
      if (end == std::string::npos) end = phrase.size();
      if (end > at) add_word(phrase.substr(at, end - at));
      at = end + 1;
    }
  };
  auto pick = [&](const auto& table) {
    return std::string(table[Skewed(sizeof(table) / sizeof(table[0]))]);
  };
  for (int clause = 1; text.size() < size; ++clause) {
    add_words(std::to_string(clause) + ".");
    for (uint32_t sentence = 0, count = 2 + Next() % 4; sentence < count; ++sentence) {
      std::string s = pick(kSubjects) + " " + pick(kVerbs) + " " + pick(kObjects);
      if (Next() % 2 == 0) {
        std::string object = pick(kObjects);
        s += pick(kConnectives) + object;
      }
      add_words(s + ".");
    }
    text += line + "\n\n";
    line.clear();
  }
  text.resize(size);
  return Bytes(text.begin(), text.end());
}

}  // namespace bench
