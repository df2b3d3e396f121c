// A small interpreter of the PIC16 mid-range (14-bit core) instructions, enough to run the
// assembly frame player in a test: program words from gpasm's Intel HEX, 4 banks of file
// registers with the core registers and 0x70..0x7F common to all banks, an 8-level stack.
// Faults a real part would hide (stack overflow, a word that is no instruction, running off
// the program) stop it with a message instead.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>

namespace lumigrid::testing {

class Pic16Sim {
 public:
  // Called after each write to a file register: its (banked) address and the new value.
  using WriteHook = std::function<void(int address, uint8_t value)>;

  // `memory` as ParseIntelHex gives it: program word w is bytes 2w (low) and 2w + 1.
  explicit Pic16Sim(const std::map<uint32_t, uint8_t>& memory) {
    program_.fill(kNoWord);
    for (const auto& [address, byte] : memory) {
      const uint32_t w = address / 2;
      if (w >= kProgramWords) continue;  // configuration word
      if (program_[w] == kNoWord) program_[w] = 0;
      program_[w] = static_cast<uint16_t>(address % 2 ? (program_[w] & 0x00FF) | (byte << 8)
                                                      : (program_[w] & 0xFF00) | byte);
    }
  }

  void OnWrite(WriteHook hook) { hook_ = std::move(hook); }
  void Stop() { stopped_ = true; }

  // Runs from the reset vector until SLEEP, Stop() from the hook, a fault or `max_steps`
  // instructions. Returns "" after SLEEP or Stop(), else what went wrong.
  std::string Run(long max_steps) {
    for (long step = 0; step < max_steps; ++step) {
      if (stopped_) return "";
      const std::string fault = Step();
      if (!fault.empty()) return fault;
      if (sleeping_) return "";
    }
    return "no end after " + std::to_string(max_steps) + " instructions";
  }

  uint8_t W() const { return w_; }

 private:
  static constexpr uint32_t kProgramWords = 0x2000;
  static constexpr uint16_t kNoWord = 0xFFFF;
  static constexpr int kPcl = 0x02, kStatus = 0x03, kFsr = 0x04, kPclath = 0x0A;
  static constexpr int kC = 0, kDc = 1, kZ = 2;

  int Address(int f) const {
    if (f == 0) {  // INDF: through FSR, bank bit from STATUS.IRP
      return (file_[kFsr] | ((file_[kStatus] & 0x80) << 1)) & 0x1FF;
    }
    return f | ((file_[kStatus] & 0x60) << 2);
  }
  // Core registers and common RAM are one register seen from every bank.
  static int Home(int a) {
    const int low = a & 0x7F;
    if (low == kPcl || low == kStatus || low == kFsr || low == kPclath || low == 0x0B ||
        low >= 0x70) {
      return low;
    }
    return a;
  }
  uint8_t Read(int f) const {
    const int a = Home(Address(f));
    return a == kPcl ? static_cast<uint8_t>(pc_) : file_[a];
  }
  void Write(int f, uint8_t v) {
    const int a = Home(Address(f));
    if (a == kPcl) {
      pc_ = ((file_[kPclath] & 0x1F) << 8) | v;
    } else if (a == 0) {
      return;  // INDF through FSR 0
    } else {
      file_[a] = v;
    }
    if (hook_) hook_(a, v);
  }
  void Flag(int bit, bool on) {
    file_[kStatus] =
        static_cast<uint8_t>(on ? file_[kStatus] | (1 << bit) : file_[kStatus] & ~(1 << bit));
  }
  void Zero(uint8_t v) { Flag(kZ, v == 0); }
  uint8_t Add(uint8_t a, uint8_t b) {
    Flag(kC, a + b > 0xFF);
    Flag(kDc, (a & 0x0F) + (b & 0x0F) > 0x0F);
    const auto r = static_cast<uint8_t>(a + b);
    Zero(r);
    return r;
  }
  uint8_t Sub(uint8_t a, uint8_t b) {  // a - b; C set when no borrow
    Flag(kC, a >= b);
    Flag(kDc, (a & 0x0F) >= (b & 0x0F));
    const auto r = static_cast<uint8_t>(a - b);
    Zero(r);
    return r;
  }

  std::string Step() {
    if (pc_ >= static_cast<int>(kProgramWords) || program_[pc_] == kNoWord) {
      return "ran into empty program memory at " + std::to_string(pc_);
    }
    const int at = pc_;
    const uint16_t op = program_[pc_];
    pc_ = (pc_ + 1) & 0x1FFF;
    const int f = op & 0x7F;
    const bool to_f = op & 0x80;
    const auto k = static_cast<uint8_t>(op & 0xFF);
    auto result = [&](uint8_t v) {
      if (to_f) {
        Write(f, v);
      } else {
        w_ = v;
      }
    };
    auto push = [&]() {
      if (depth_ == 8) return false;
      stack_[depth_++] = pc_;
      return true;
    };
    auto bad = [&] {
      char text[48];
      std::snprintf(text, sizeof text, "no instruction 0x%04X at 0x%04X", op, at);
      return std::string(text);
    };

    switch (op >> 12) {
      case 0: {
        const int sub = (op >> 8) & 0x0F;
        if (sub == 0) {
          if (op & 0x80) {
            Write(f, w_);  // MOVWF
          } else if (op == 0x0008) {
            if (depth_ == 0) return "RETURN with an empty stack at " + std::to_string(at);
            pc_ = stack_[--depth_];
          } else if (op == 0x0063) {
            sleeping_ = true;
          } else if ((op & 0x9F) != 0 && op != 0x0064) {
            return bad();  // only NOP, CLRWDT, RETURN, SLEEP are known
          }
          return "";
        }
        const uint8_t v = Read(f);
        switch (sub) {
          case 0x1:  // CLRW / CLRF
            result(0);
            Flag(kZ, true);
            break;
          case 0x2:
            result(Sub(v, w_));
            break;  // SUBWF
          case 0x3:
            result(static_cast<uint8_t>(v - 1)), Zero(static_cast<uint8_t>(v - 1));
            break;
          case 0x4:
            result(v | w_), Zero(v | w_);
            break;
          case 0x5:
            result(v & w_), Zero(v & w_);
            break;
          case 0x6:
            result(v ^ w_), Zero(v ^ w_);
            break;
          case 0x7:
            result(Add(v, w_));
            break;
          case 0x8:
            result(v), Zero(v);
            break;  // MOVF
          case 0x9:
            result(static_cast<uint8_t>(~v)), Zero(static_cast<uint8_t>(~v));
            break;
          case 0xA:
            result(static_cast<uint8_t>(v + 1)), Zero(static_cast<uint8_t>(v + 1));
            break;
          case 0xB: {  // DECFSZ
            const auto r = static_cast<uint8_t>(v - 1);
            result(r);
            if (r == 0) pc_ = (pc_ + 1) & 0x1FFF;
            break;
          }
          case 0xC: {  // RRF
            const bool carry = file_[kStatus] & 1;
            Flag(kC, v & 1);
            result(static_cast<uint8_t>((v >> 1) | (carry ? 0x80 : 0)));
            break;
          }
          case 0xD: {  // RLF
            const bool carry = file_[kStatus] & 1;
            Flag(kC, v & 0x80);
            result(static_cast<uint8_t>((v << 1) | (carry ? 1 : 0)));
            break;
          }
          case 0xE:
            result(static_cast<uint8_t>((v << 4) | (v >> 4)));
            break;     // SWAPF
          case 0xF: {  // INCFSZ
            const auto r = static_cast<uint8_t>(v + 1);
            result(r);
            if (r == 0) pc_ = (pc_ + 1) & 0x1FFF;
            break;
          }
        }
        return "";
      }
      case 1: {
        const int bit = (op >> 7) & 7;
        const int fr = op & 0x7F;
        const uint8_t v = Read(fr);
        switch ((op >> 10) & 3) {
          case 0:
            Write(fr, static_cast<uint8_t>(v & ~(1 << bit)));
            break;  // BCF
          case 1:
            Write(fr, static_cast<uint8_t>(v | (1 << bit)));
            break;  // BSF
          case 2:
            if (!(v & (1 << bit))) pc_ = (pc_ + 1) & 0x1FFF;  // BTFSC
            break;
          case 3:
            if (v & (1 << bit)) pc_ = (pc_ + 1) & 0x1FFF;  // BTFSS
            break;
        }
        return "";
      }
      case 2: {  // CALL / GOTO: 11 bits, the page from PCLATH<4:3>
        if (!(op & 0x0800) && !push()) return "stack overflow at " + std::to_string(at);
        pc_ = (op & 0x07FF) | ((file_[kPclath] & 0x18) << 8);
        return "";
      }
      default: {
        switch ((op >> 8) & 0x0F) {
          case 0x0:
          case 0x1:
          case 0x2:
          case 0x3:
            w_ = k;
            break;  // MOVLW
          case 0x4:
          case 0x5:
          case 0x6:
          case 0x7:  // RETLW
            if (depth_ == 0) return "RETLW with an empty stack at " + std::to_string(at);
            w_ = k;
            pc_ = stack_[--depth_];
            break;
          case 0x8:
            w_ |= k, Zero(w_);
            break;
          case 0x9:
            w_ &= k, Zero(w_);
            break;
          case 0xA:
            w_ ^= k, Zero(w_);
            break;
          case 0xC:
          case 0xD:
            w_ = Sub(k, w_);
            break;  // SUBLW: k - W
          case 0xE:
          case 0xF:
            w_ = Add(k, w_);
            break;
          default:
            return bad();
        }
        return "";
      }
    }
  }

  std::array<uint16_t, kProgramWords> program_{};
  std::array<uint8_t, 0x200> file_{};
  std::array<int, 8> stack_{};
  int depth_ = 0;
  int pc_ = 0;
  uint8_t w_ = 0;
  bool sleeping_ = false;
  bool stopped_ = false;
  WriteHook hook_;
};

}  // namespace lumigrid::testing
