#include "package_builder.h"

#include <cstring>
#include <deque>
#include <memory>

#include "block_compressor.h"
#include "file_ops.h"
#include "method_rules.h"
#include "package/archive_writer.h"
#include "package/file_stream.h"
#include "package/lzo_stream.h"
#include "tool_text.h"

namespace vornpack {
namespace {

constexpr uint32_t kCopyChunk = 1u << 20;

bool IsBlockFramed(vorn::PackMethod method) {
  return method >= vorn::kMethodLzo;
}

std::string NameOf(const PackageInput& input) {
  return ToUtf8(input.disk_path.empty() ? input.package_path : input.disk_path);
}

// Reads one input, from disk or from its generated content, and checks at
// the end that a disk file is still the one that was listed.
class InputReader {
 public:
  Result Open(const PackageInput& input, const BuildSettings& settings, std::string& error) {
    input_ = &input;
    offset_ = 0;
    if (input.disk_path.empty()) return vorn::kOk;
    Result r = file_.OpenForReading(ToString(input.disk_path).Text());
    if (r != vorn::kOk) {
      error = "cannot open " + NameOf(input) + " (error " + std::to_string(r) + ")";
      return r;
    }
    if (settings.on_file_opened) settings.on_file_opened(input);
    return vorn::kOk;
  }

  Result Read(uint8_t* buffer, uint32_t size, std::string& error) {
    if (size == 0) return vorn::kOk;
    Result r = vorn::kOk;
    if (input_->disk_path.empty()) {
      std::memcpy(buffer, input_->generated.data() + offset_, size);
    } else if ((r = file_.Read(buffer, size)) != vorn::kOk) {
      if (r == vorn::kEndOfData) return Changed(error);
      error = "cannot read " + NameOf(*input_) + " (error " + std::to_string(r) + ")";
      return r;
    }
    offset_ += size;
    return vorn::kOk;
  }

  Result Finish(std::string& error) {
    if (input_->disk_path.empty()) return vorn::kOk;
    file_.Close();
    FileStatus now;
    Result r = QueryFileStatus(input_->disk_path, now);
    if (r != vorn::kOk || !now.exists || now.size != input_->size ||
        !(now.last_write == input_->last_write)) {
      return Changed(error);
    }
    return vorn::kOk;
  }

  void Abandon() { file_.Close(); }

 private:
  Result Changed(std::string& error) {
    file_.Close();
    error = NameOf(*input_) + " changed while it was being packed (it was listed with " +
            std::to_string(input_->size) + " bytes); pack it again once it is complete";
    return vorn::kInvalidState;
  }

  const PackageInput* input_ = nullptr;
  vorn::FileStream file_;
  uint64_t offset_ = 0;
};

// One entry of the window: a block on its way through the compressor, or a
// stored/deflated entry that the main thread writes when its turn comes.
struct Slot {
  size_t input = 0;
  bool whole_entry = false;
  bool first = false;
  bool last = false;
  // A later block of a sampled input, read but not given to the
  // compressor until the first block has decided the entry's method.
  bool held = false;
  std::unique_ptr<BlockJob> job;
};

// Where a sampled input stands.
enum class Sample : uint8_t { kNone, kPending, kCompress, kStore };

class Builder {
 public:
  Builder(const std::vector<PackageInput>& inputs, const BuildSettings& settings,
          std::string& error)
      : inputs_(inputs), settings_(settings), error_(error) {}

  Result Run(vorn::Stream& sink, BuildSummary& summary) {
    samples_.assign(inputs_.size(), Sample::kNone);
    const uint32_t threads = settings_.threads == 0 ? 1 : settings_.threads;
    // Enough blocks in flight to keep every worker busy while the main
    // thread writes, and no more: memory stays flat.
    byte_limit_ = static_cast<uint64_t>(threads + 2) * vorn::ArchiveWriter::kPackageBlockSize;
    job_limit_ = 16 * threads + 16;
    Result r = compressor_.Start(threads);
    if (r != vorn::kOk) return Fail(r, "cannot start the compression threads");
    if ((r = writer_.Begin(&sink)) != vorn::kOk) return Fail(r, "cannot start the archive");
    writer_.SetCreationTime(settings_.creation_date, settings_.creation_time);
    uint64_t total = 0;
    for (const PackageInput& input : inputs_) total += input.size;
    if (settings_.progress) settings_.progress->Begin("packing", total);
    while (next_input_ < inputs_.size() || !window_.empty()) {
      if ((r = ReadAhead()) != vorn::kOk) return Abort(r);
      if ((r = WriteOldest()) != vorn::kOk) return Abort(r);
    }
    compressor_.Stop();
    if ((r = writer_.Finish()) != vorn::kOk) return Fail(r, "cannot finish the archive");
    if (settings_.progress) settings_.progress->End();
    summary.entries = inputs_.size();
    summary.input_bytes = total;
    summary.archive_bytes = writer_.BytesWritten();
    summary.incompressible_files = incompressible_files_;
    summary.incompressible_bytes = incompressible_bytes_;
    return vorn::kOk;
  }

 private:
  Result ReadAhead() {
    while (next_input_ < inputs_.size() && window_bytes_ < byte_limit_ &&
           window_.size() < job_limit_) {
      const PackageInput& input = inputs_[next_input_];
      if (!IsBlockFramed(input.method)) {
        Slot slot;
        slot.input = next_input_++;
        slot.whole_entry = true;
        window_.push_back(std::move(slot));
        continue;
      }
      Result r;
      if (!reading_) {
        if ((r = reader_.Open(input, settings_, error_)) != vorn::kOk) return r;
        reading_ = true;
        left_ = input.size;
        first_ = true;
        if (input.sampled) samples_[next_input_] = Sample::kPending;
      }
      const uint32_t block_size = PackageBlockSize(input.method);
      const uint32_t part = left_ < block_size ? static_cast<uint32_t>(left_) : block_size;
      auto job = std::make_unique<BlockJob>();
      job->method = input.method;
      job->block_size = block_size;
      job->input.resize(part);
      if ((r = reader_.Read(job->input.data(), part, error_)) != vorn::kOk) return r;
      left_ -= part;
      Slot slot;
      slot.input = next_input_;
      slot.first = first_;
      slot.last = left_ == 0;
      first_ = false;
      if (slot.last) {
        reading_ = false;
        ++next_input_;
        if ((r = reader_.Finish(error_)) != vorn::kOk) return r;
      }
      window_bytes_ += part;
      if (input.sampled && slot.first) {
        sample_job_ = job.get();
      } else if (input.sampled) {
        PollSample(slot.input);
        slot.held = samples_[slot.input] != Sample::kCompress;
      }
      if (!slot.held) compressor_.Submit(job.get());
      slot.job = std::move(job);
      window_.push_back(std::move(slot));
    }
    return vorn::kOk;
  }

  // Decides the input being read as soon as its first block is coded, so
  // that its later blocks reach the compressor while the window is still
  // busy with earlier entries. `sample_job_` is alive while the input is
  // pending: the first block's slot leaves the window only once decided.
  void PollSample(size_t input) {
    if (samples_[input] == Sample::kPending && compressor_.IsDone(sample_job_)) {
      Decide(input, *sample_job_);
    }
  }

  // A failed first block is left to WriteBlock to report.
  void Decide(size_t input, const BlockJob& first) {
    const bool compress =
        first.result != vorn::kOk ||
        CompressionPays(first.input.size(), vorn::kPropertiesSize + first.output.size());
    samples_[input] = compress ? Sample::kCompress : Sample::kStore;
    if (!compress) return;
    for (Slot& slot : window_) {
      if (slot.input == input && slot.held) {
        slot.held = false;
        compressor_.Submit(slot.job.get());
      }
    }
  }

  Result WriteOldest() {
    if (window_.empty()) return vorn::kOk;
    Slot& slot = window_.front();
    const PackageInput& input = inputs_[slot.input];
    Result r;
    if (slot.whole_entry) {
      r = WriteWholeEntry(input);
    } else {
      r = WriteBlock(input, slot);
      window_bytes_ -= slot.job->input.size();
      if (settings_.progress) settings_.progress->Advance(slot.job->input.size());
    }
    window_.pop_front();
    return r;
  }

  Result WriteBlock(const PackageInput& input, Slot& slot) {
    BlockJob& job = *slot.job;
    Sample& sample = samples_[slot.input];
    if (slot.first && sample == Sample::kPending) {
      compressor_.WaitFor(&job);
      Decide(slot.input, job);
    }
    const bool stored = sample == Sample::kStore;
    if (!stored) {
      if (slot.held) {
        slot.held = false;
        compressor_.Submit(&job);
      }
      compressor_.WaitFor(&job);
      if (job.result != vorn::kOk) {
        error_ = "cannot compress " + NameOf(input) + " (error " + std::to_string(job.result) + ")";
        return job.result;
      }
    }
    const std::u16string& path = input.package_path;
    const vorn::PackMethod method = stored ? vorn::kMethodStored : input.method;
    Result r = vorn::kOk;
    if (slot.first) {
      r = writer_.BeginPrecodedEntry(path.c_str(), method);
      if (r == vorn::kOk && method != vorn::kMethodLzo && method != vorn::kMethodStored) {
        r = writer_.WriteEntry(job.properties, vorn::kPropertiesSize);
      }
    }
    const std::vector<uint8_t>& data = stored ? job.input : job.output;
    if (r == vorn::kOk && !data.empty()) {
      r = writer_.WriteEntry(data.data(), static_cast<uint32_t>(data.size()));
    }
    if (r == vorn::kOk && slot.last) {
      r = writer_.EndPrecodedEntry(input.size);
      if (stored) {
        ++incompressible_files_;
        incompressible_bytes_ += input.size;
      }
    }
    return r == vorn::kOk ? r : Fail(r, "cannot write the entry " + ToUtf8(path));
  }

  Result WriteWholeEntry(const PackageInput& input) {
    InputReader reader;
    Result r = reader.Open(input, settings_, error_);
    if (r != vorn::kOk) return r;
    if ((r = writer_.BeginEntry(input.package_path.c_str(), input.method)) != vorn::kOk) {
      reader.Abandon();
      return Fail(r, "cannot write the entry " + ToUtf8(input.package_path));
    }
    std::vector<uint8_t> chunk(input.size < kCopyChunk ? input.size : kCopyChunk);
    for (uint64_t left = input.size; left > 0;) {
      const uint32_t part = left < kCopyChunk ? static_cast<uint32_t>(left) : kCopyChunk;
      if ((r = reader.Read(chunk.data(), part, error_)) != vorn::kOk) return r;
      if ((r = writer_.WriteEntry(chunk.data(), part)) != vorn::kOk) {
        reader.Abandon();
        return Fail(r, "cannot write the entry " + ToUtf8(input.package_path));
      }
      left -= part;
      if (settings_.progress) settings_.progress->Advance(part);
    }
    if ((r = reader.Finish(error_)) != vorn::kOk) return r;
    if ((r = writer_.EndEntry()) != vorn::kOk) {
      return Fail(r, "cannot write the entry " + ToUtf8(input.package_path));
    }
    return vorn::kOk;
  }

  Result Fail(Result r, const std::string& what) {
    if (error_.empty()) error_ = what + " (error " + std::to_string(r) + ")";
    return r;
  }

  Result Abort(Result r) {
    compressor_.Stop();
    reader_.Abandon();
    if (settings_.progress) settings_.progress->End();
    return r;
  }

  const std::vector<PackageInput>& inputs_;
  const BuildSettings& settings_;
  std::string& error_;
  vorn::ArchiveWriter writer_;
  // Declared before the compressor, destroyed after it: the workers are
  // gone before the jobs they might still hold.
  std::deque<Slot> window_;
  BlockCompressor compressor_;
  InputReader reader_;
  uint64_t byte_limit_ = 0;
  size_t job_limit_ = 0;
  uint64_t window_bytes_ = 0;
  size_t next_input_ = 0;
  bool reading_ = false;
  bool first_ = false;
  uint64_t left_ = 0;
  std::vector<Sample> samples_;  // by input
  BlockJob* sample_job_ = nullptr;
  uint64_t incompressible_files_ = 0;
  uint64_t incompressible_bytes_ = 0;
};

}  // namespace

uint32_t PackageBlockSize(vorn::PackMethod method) {
  return method == vorn::kMethodLzo ? vorn::LZOStream::kDefaultBlockSize
                                    : vorn::ArchiveWriter::kPackageBlockSize;
}

Result WritePackage(const std::vector<PackageInput>& inputs, const BuildSettings& settings,
                    vorn::Stream& sink, BuildSummary& summary, std::string& error) {
  summary = BuildSummary{};
  error.clear();
  Builder builder(inputs, settings, error);
  return builder.Run(sink, summary);
}

}  // namespace vornpack
