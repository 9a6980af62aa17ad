#include "export/avi_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "audio/audio_format.h"
#include "audio/g711.h"
#include "platform/file.h"

namespace dvr::exporting {
namespace {

constexpr int kCloseWaitRounds = 100;  // of 10 ms: a second for a write in progress
constexpr const char* kOfferedEncoders[] = {"mjpeg", "mpeg4", "ffv1", "huffyuv", "rawvideo", "libx264"};

// The container by the file's extension: AVI unless it names another one FFmpeg has.
const char* ContainerFor(const std::string& path) {
  const std::string ext = platform::FileExtension(path);
  if (ext == "mp4" || ext == "m4v") return "mp4";
  if (ext == "mkv") return "matroska";
  if (ext == "mov") return "mov";
  return "avi";
}

// The audio stream by source format: PCM as it is stored, G.711 as G.711. Signed 8-bit samples
// have no stream format of their own; they are stored as unsigned 8-bit, 128 added, as played.
AVCodecID PcmCodecFor(int format) {
  switch (format) {
    case audio::kUnsigned16:
    case audio::kSigned16: return AV_CODEC_ID_PCM_S16LE;
    case audio::kALaw: return AV_CODEC_ID_PCM_ALAW;
    case audio::kMuLaw: return AV_CODEC_ID_PCM_MULAW;
    default: return AV_CODEC_ID_PCM_U8;
  }
}

uint16_t BlockAlignFor(int format) { return format == audio::kUnsigned16 || format == audio::kSigned16 ? 2 : 1; }

// One recorder sample as a float in -1 .. 1, for encoders that take no PCM.
float SampleAsFloat(int format, const uint8_t* at) {
  switch (format) {
    case audio::kUnsigned16:
    case audio::kSigned16: return static_cast<int16_t>(at[0] | at[1] << 8) / 32768.0f;
    case audio::kALaw: return audio::kALawTable[*at] / 32768.0f;
    case audio::kMuLaw: return audio::kMuLawTable[*at] / 32768.0f;
    case audio::kSigned8: return static_cast<int8_t>(*at) / 128.0f;
    default: return (*at - 128) / 128.0f;
  }
}

AVPixelFormat SourceFormatFor(int bit_count) {
  if (bit_count == 24) return AV_PIX_FMT_BGR24;
  if (bit_count == 32) return AV_PIX_FMT_BGR0;
  return AV_PIX_FMT_NONE;
}

bool Supports(const AVCodec* codec, AVPixelFormat format) {
  for (const AVPixelFormat* f = codec->pix_fmts; f && *f != AV_PIX_FMT_NONE; ++f) {
    if (*f == format) return true;
  }
  return false;
}

// Lossy encoders get 4:2:0, which every player decodes; lossless ones the format nearest the
// source's (the source's itself where they take any), so that the frames come back exactly.
AVPixelFormat PixelFormatFor(const AVCodec* codec, AVPixelFormat source) {
  if (codec->pix_fmts == nullptr) return source;
  const bool lossless = codec->id == AV_CODEC_ID_FFV1 || codec->id == AV_CODEC_ID_HUFFYUV || codec->id == AV_CODEC_ID_RAWVIDEO;
  if (!lossless) {
    // JPEG's own range for Motion JPEG, the video range for the rest.
    if (codec->id == AV_CODEC_ID_MJPEG && Supports(codec, AV_PIX_FMT_YUVJ420P)) return AV_PIX_FMT_YUVJ420P;
    if (Supports(codec, AV_PIX_FMT_YUV420P)) return AV_PIX_FMT_YUV420P;
  }
  return avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, source, 0, nullptr);
}

}  // namespace

std::vector<std::string> AvailableVideoEncoders() {
  std::vector<std::string> names;
  for (const char* name : kOfferedEncoders) {
    if (avcodec_find_encoder_by_name(name) != nullptr) names.emplace_back(name);
  }
  return names;
}

std::string DefaultVideoEncoderFor(const std::string& path) {
  if (std::string(ContainerFor(path)) == "avi") return "mjpeg";
  return avcodec_find_encoder_by_name("libx264") ? "libx264" : "mpeg4";
}

AviWriter::AviWriter(platform::Notices& notices) : notices_(notices), packet_(av_packet_alloc()) {
  // FFmpeg's chatter (encoder statistics, format notes) is not for the viewer's users; errors
  // still show.
  av_log_set_level(AV_LOG_ERROR);
}

AviWriter::~AviWriter() {
  Close();
  av_packet_free(&packet_);
}

void AviWriter::SetAudioSource(int format_code, int sample_rate) {
  audio_format_ = format_code;
  sample_rate_ = sample_rate;
}

void AviWriter::SetVideoEncoder(const VideoEncoderChoice& choice) { choice_ = choice; }

bool AviWriter::BeginWrite(int& found) {
  found = kAviIdle;
  return state_.compare_exchange_strong(found, kAviWritingState);
}

int AviWriter::BusyCode(int state) {
  switch (state) {
    case kAviClosed: return kAviNotOpen;
    case kAviOpeningState: return kAviOpening;
    case kAviClosingState: return kAviClosing;
    default: return kAviWriting;
  }
}

int AviWriter::Open(const std::string& path, int bit_count, int width, int height,
                    const BitmapHeader* header, FrameRate frame_rate) {
  if (path.empty()) return kAviEmptyPath;
  if (state_ == kAviClosingState) return kAviClosing;
  if (state_ == kAviOpeningState) return kAviOpening;
  if (state_ != kAviClosed) Close();
  if (width <= 0 || height <= 0 || bit_count <= 0) {
    state_ = kAviClosed;
    return kAviBadSize;
  }
  state_ = kAviOpeningState;
  header_ = header ? *header : ExportFrameHeader(width, height);
  if (!header) {
    header_.bit_count = static_cast<uint16_t>(bit_count);
    header_.image_size = static_cast<uint32_t>(width * height * bit_count / 8);
  }
  source_pixel_format_ = SourceFormatFor(bit_count);
  path_ = path;
  // Only a file this call created is removed again: an existing one at the path stays.
  const auto give_up = [this](int code, bool created) {
    Release();
    if (created) platform::RemoveFile(path_);
    path_.clear();
    state_ = kAviClosed;
    return code;
  };
  const auto fail = [&give_up](int code) { return give_up(code, true); };
  if (choice_.cancelled) return give_up(kAviCancelled, false);
  if (avformat_alloc_output_context2(&m_pAVIFileInterface, nullptr, ContainerFor(path), path.c_str()) < 0 ||
      avio_open(&m_pAVIFileInterface->pb, path.c_str(), AVIO_FLAG_WRITE) < 0) {
    return give_up(kAviCannotCreate, false);
  }
  if (const int video = OpenVideo(frame_rate); video != kAviOk) {
    if (video == kAviFormatRefused) notices_.Show("Invalid codec!");
    return fail(video);
  }
  if (with_audio_) {
    if (const int sound = OpenAudio(); sound != kAviOk) return fail(sound);
  }
  if (avformat_write_header(m_pAVIFileInterface, nullptr) < 0) {
    notices_.Show("Invalid codec!");
    return fail(kAviFormatRefused);
  }
  frames_written_ = audio_position_ = write_failures_ = 0;
  audio_samples_encoded_ = 0;
  file_opened_ = true;
  state_ = kAviIdle;
  return kAviOk;
}

int AviWriter::OpenVideo(FrameRate frame_rate) {
  m_pStreamInterface = avformat_new_stream(m_pAVIFileInterface, nullptr);
  if (m_pStreamInterface == nullptr) return kAviNoStream;
  const AVCodec* codec = avcodec_find_encoder_by_name(choice_.codec.c_str());
  if (codec == nullptr || codec->type != AVMEDIA_TYPE_VIDEO) return kAviFormatRefused;
  m_pAviCompressedStream = avcodec_alloc_context3(codec);
  if (m_pAviCompressedStream == nullptr) return kAviNoCompressor;
  if (source_pixel_format_ == AV_PIX_FMT_NONE) return kAviFormatRefused;
  AVCodecContext* c = m_pAviCompressedStream;
  c->width = header_.width;
  c->height = header_.height;
  // The exact fraction: the container keeps it as its time base, so frame n starts at n / rate.
  c->framerate = frame_rate.num > 0 && frame_rate.den > 0
                     ? AVRational{frame_rate.num, frame_rate.den}
                     : AVRational{1, 1};
  c->time_base = av_inv_q(c->framerate);
  c->pix_fmt = PixelFormatFor(codec, static_cast<AVPixelFormat>(source_pixel_format_));
  if (c->pix_fmt == AV_PIX_FMT_NONE) return kAviFormatRefused;
  if (choice_.key_frame_interval > 0) c->gop_size = choice_.key_frame_interval;
  if (choice_.bit_rate > 0) {
    c->bit_rate = choice_.bit_rate;
  } else if (choice_.quality > 0) {
    if (choice_.codec == "libx264") {
      av_opt_set_int(c->priv_data, "crf", choice_.quality, 0);
    } else {
      c->flags |= AV_CODEC_FLAG_QSCALE;
      c->global_quality = FF_QP2LAMBDA * choice_.quality;
    }
  }
  if (codec->id == AV_CODEC_ID_MJPEG) c->color_range = AVCOL_RANGE_JPEG;
  if (m_pAVIFileInterface->oformat->flags & AVFMT_GLOBALHEADER) c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  c->thread_count = 0;  // as many as the machine has
  if (avcodec_open2(c, codec, nullptr) < 0) return kAviFormatRefused;
  if (avcodec_parameters_from_context(m_pStreamInterface->codecpar, c) < 0) return kAviFormatRefused;
  m_pStreamInterface->time_base = c->time_base;
  m_pStreamInterface->avg_frame_rate = c->framerate;

  picture_ = av_frame_alloc();
  if (picture_ == nullptr) return kAviNoCompressor;
  picture_->format = c->pix_fmt;
  picture_->width = c->width;
  picture_->height = c->height;
  if (av_frame_get_buffer(picture_, 0) < 0) return kAviNoCompressor;
  scaler_ = sws_getContext(header_.width, header_.height, static_cast<AVPixelFormat>(source_pixel_format_), c->width,
                           c->height, c->pix_fmt, SWS_POINT, nullptr, nullptr, nullptr);
  return scaler_ ? kAviOk : kAviFormatRefused;
}

int AviWriter::OpenAudio() {
  block_align_ = BlockAlignFor(audio_format_);
  m_pAudioStreamInterface = avformat_new_stream(m_pAVIFileInterface, nullptr);
  if (m_pAudioStreamInterface == nullptr) return kAviNoStream;
  AVCodecParameters* par = m_pAudioStreamInterface->codecpar;
  const AVCodecID pcm = PcmCodecFor(audio_format_);
  if (avformat_query_codec(m_pAVIFileInterface->oformat, pcm, FF_COMPLIANCE_NORMAL) == 1) {
    par->codec_type = AVMEDIA_TYPE_AUDIO;
    par->codec_id = pcm;
    par->sample_rate = sample_rate_;
    av_channel_layout_default(&par->ch_layout, 1);
    par->bits_per_coded_sample = pcm == AV_CODEC_ID_PCM_S16LE ? 16 : 8;
    par->block_align = block_align_;
    par->bit_rate = int64_t{block_align_} * sample_rate_ * 8;
    m_pAudioStreamInterface->time_base = AVRational{1, sample_rate_};
    return kAviOk;
  }
  // A container without PCM (MP4): AAC, made from the samples.
  const AVCodec* aac = avcodec_find_encoder(AV_CODEC_ID_AAC);
  if (aac == nullptr) return kAviFormatRefused;
  audio_encoder_ = avcodec_alloc_context3(aac);
  if (audio_encoder_ == nullptr) return kAviFormatRefused;
  audio_encoder_->sample_fmt = AV_SAMPLE_FMT_FLTP;
  audio_encoder_->sample_rate = sample_rate_;
  av_channel_layout_default(&audio_encoder_->ch_layout, 1);
  audio_encoder_->bit_rate = 32000;
  audio_encoder_->time_base = AVRational{1, sample_rate_};
  if (m_pAVIFileInterface->oformat->flags & AVFMT_GLOBALHEADER) audio_encoder_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(audio_encoder_, aac, nullptr) < 0 ||
      avcodec_parameters_from_context(par, audio_encoder_) < 0) {
    return kAviFormatRefused;
  }
  m_pAudioStreamInterface->time_base = audio_encoder_->time_base;
  audio_frame_ = av_frame_alloc();
  if (audio_frame_ == nullptr) return kAviFormatRefused;
  audio_frame_->format = AV_SAMPLE_FMT_FLTP;
  audio_frame_->nb_samples = audio_encoder_->frame_size;
  audio_frame_->sample_rate = sample_rate_;
  av_channel_layout_default(&audio_frame_->ch_layout, 1);
  if (av_frame_get_buffer(audio_frame_, 0) < 0) return kAviFormatRefused;
  audio_frame_->nb_samples = 0;  // filled so far
  return kAviOk;
}

bool AviWriter::Encode(AVCodecContext* encoder, AVStream* stream, AVFrame* frame) {
  if (avcodec_send_frame(encoder, frame) < 0) return false;
  for (;;) {
    const int got = avcodec_receive_packet(encoder, packet_);
    if (got == AVERROR(EAGAIN) || got == AVERROR_EOF) return true;
    if (got < 0) return false;
    av_packet_rescale_ts(packet_, encoder->time_base, stream->time_base);
    packet_->stream_index = stream->index;
    if (av_interleaved_write_frame(m_pAVIFileInterface, packet_) < 0) return false;
  }
}

int AviWriter::WriteVideo(const uint8_t* frame, bool key_frame) {
  // Taking state 5 first keeps Close away for the whole write.
  int state;
  if (!BeginWrite(state)) return BusyCode(state);
  int result = kAviOk;
  if (!file_opened_) {
    result = kAviNoFile;
  } else if (m_pAviCompressedStream == nullptr) {
    result = kAviNoCompressingStream;
  } else if (frame == nullptr) {
    result = kAviNoFrame;
  } else {
    // The frame is bottom-up: read it from its last row upward.
    const int row = header_.width * (source_pixel_format_ == AV_PIX_FMT_BGR24 ? 3 : 4);
    const uint8_t* top = frame + static_cast<ptrdiff_t>(header_.height - 1) * row;
    const int stride = -row;
    bool ok = av_frame_make_writable(picture_) >= 0;
    if (ok) {
      sws_scale(scaler_, &top, &stride, 0, header_.height, picture_->data, picture_->linesize);
      picture_->pts = frames_written_;
      // The first frame is a key frame; after it the encoder's key-frame interval decides.
      picture_->pict_type = frames_written_ == 0 && key_frame ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
      ok = Encode(m_pAviCompressedStream, m_pStreamInterface, picture_);
    }
    ++frames_written_;
    if (!ok) {
      ++write_failures_;
      result = kAviWriteRefused;
    }
  }
  state_ = kAviIdle;
  return result;
}

int AviWriter::WriteAudio(const uint8_t* data, size_t bytes) {
  int state;
  if (!BeginWrite(state)) return kAviWriteRefused;
  const bool ok = m_pAudioStreamInterface == nullptr || data == nullptr ||
                  (audio_encoder_ ? EncodeAac(data, bytes) : WritePcm(data, bytes));
  audio_position_ += static_cast<uint32_t>(bytes / block_align_);
  state_ = kAviIdle;
  return ok ? kAviOk : kAviWriteRefused;
}

bool AviWriter::WritePcm(const uint8_t* data, size_t bytes) {
  const size_t length = bytes / block_align_ * block_align_;
  if (length == 0) return true;
  if (audio_format_ == audio::kSigned8) {
    audio_bytes_.assign(data, data + length);
    for (uint8_t& sample : audio_bytes_) sample ^= 0x80;
    data = audio_bytes_.data();
  }
  if (av_new_packet(packet_, static_cast<int>(length)) < 0) return false;
  std::memcpy(packet_->data, data, length);
  packet_->pts = packet_->dts = audio_position_;
  packet_->duration = static_cast<int64_t>(length / block_align_);
  packet_->stream_index = m_pAudioStreamInterface->index;
  av_packet_rescale_ts(packet_, AVRational{1, sample_rate_}, m_pAudioStreamInterface->time_base);
  packet_->flags |= AV_PKT_FLAG_KEY;
  return av_interleaved_write_frame(m_pAVIFileInterface, packet_) >= 0;
}

bool AviWriter::EncodeAac(const uint8_t* data, size_t bytes) {
  for (size_t at = 0; at + block_align_ <= bytes; at += block_align_) {
    // The encoder may still hold the buffer of the frame sent last: a new frame gets its own.
    if (audio_frame_->nb_samples == 0 && av_frame_make_writable(audio_frame_) < 0) return false;
    reinterpret_cast<float*>(audio_frame_->data[0])[audio_frame_->nb_samples++] = SampleAsFloat(audio_format_, data + at);
    if (audio_frame_->nb_samples == audio_encoder_->frame_size) {
      audio_frame_->pts = audio_samples_encoded_;
      audio_samples_encoded_ += audio_frame_->nb_samples;
      const bool ok = Encode(audio_encoder_, m_pAudioStreamInterface, audio_frame_);
      audio_frame_->nb_samples = 0;
      if (!ok) return false;
    }
  }
  return true;
}

int AviWriter::Close() {
  for (int round = 0; round < kCloseWaitRounds && state_ == kAviWritingState; ++round) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // A write that outlasted the wait finishes before the file goes.
  for (int state = kAviIdle; !state_.compare_exchange_strong(state, kAviClosingState); state = kAviIdle) {
    if (state == kAviClosed) return kAviOk;
    if (state == kAviClosingState) return kAviClosing;
    if (state == kAviOpeningState) return kAviOpening;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (m_pAVIFileInterface != nullptr) {
    if (m_pAviCompressedStream) Encode(m_pAviCompressedStream, m_pStreamInterface, nullptr);
    if (audio_encoder_) {
      if (audio_frame_->nb_samples > 0) {
        audio_frame_->pts = audio_samples_encoded_;
        Encode(audio_encoder_, m_pAudioStreamInterface, audio_frame_);
      }
      Encode(audio_encoder_, m_pAudioStreamInterface, nullptr);
    }
    av_write_trailer(m_pAVIFileInterface);
  }
  Release();
  // An export that never got a picture leaves no file.
  if (file_opened_ && frames_written_ == 0) platform::RemoveFile(path_);
  file_opened_ = false;
  path_.clear();
  state_ = kAviClosed;
  return kAviOk;
}

void AviWriter::Release() {
  avcodec_free_context(&m_pAviCompressedStream);
  avcodec_free_context(&audio_encoder_);
  av_frame_free(&picture_);
  av_frame_free(&audio_frame_);
  sws_freeContext(scaler_);
  scaler_ = nullptr;
  if (m_pAVIFileInterface != nullptr) {
    if (m_pAVIFileInterface->pb != nullptr) avio_closep(&m_pAVIFileInterface->pb);
    avformat_free_context(m_pAVIFileInterface);
  }
  m_pAVIFileInterface = nullptr;
  m_pStreamInterface = m_pAudioStreamInterface = nullptr;
}

}  // namespace dvr::exporting
