#include "support/media_probe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdio>
#include <memory>

namespace dvr::test {
namespace {

struct Input {
  AVFormatContext* format = nullptr;
  std::vector<AVCodecContext*> decoders;
  ~Input() {
    for (AVCodecContext*& d : decoders) avcodec_free_context(&d);
    avformat_close_input(&format);
  }
  bool Open(const std::string& path) {
    av_log_set_level(AV_LOG_ERROR);  // format notes are not test failures
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return false;
    if (avformat_find_stream_info(format, nullptr) < 0) return false;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
      const AVCodec* codec = avcodec_find_decoder(format->streams[i]->codecpar->codec_id);
      AVCodecContext* d = codec ? avcodec_alloc_context3(codec) : nullptr;
      if (d && (avcodec_parameters_to_context(d, format->streams[i]->codecpar) < 0 || avcodec_open2(d, codec, nullptr) < 0)) {
        avcodec_free_context(&d);
      }
      decoders.push_back(d);
    }
    return true;
  }
};

}  // namespace

const ProbedStream* ProbedFile::Video() const {
  for (const auto& s : streams) {
    if (s.video) return &s;
  }
  return nullptr;
}

const ProbedStream* ProbedFile::Audio() const {
  for (const auto& s : streams) {
    if (!s.video) return &s;
  }
  return nullptr;
}

ProbedFile ProbeFile(const std::string& path) {
  ProbedFile file;
  Input in;
  if (!in.Open(path)) return file;
  file.container = in.format->iformat->name;
  for (unsigned i = 0; i < in.format->nb_streams; ++i) {
    const AVStream* st = in.format->streams[i];
    ProbedStream s;
    s.codec = avcodec_get_name(st->codecpar->codec_id);
    s.video = st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO;
    s.width = st->codecpar->width;
    s.height = st->codecpar->height;
    s.frame_rate = st->avg_frame_rate.den ? av_q2d(st->avg_frame_rate) : av_q2d(st->r_frame_rate);
    s.sample_rate = st->codecpar->sample_rate;
    file.streams.push_back(s);
  }
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  const auto drain = [&](unsigned index) {
    while (avcodec_receive_frame(in.decoders[index], frame) >= 0) {
      ProbedStream& s = file.streams[index];
      if (s.video) {
        ++s.frames;
      } else {
        s.samples += frame->nb_samples;
      }
    }
  };
  while (av_read_frame(in.format, packet) >= 0) {
    const auto index = static_cast<unsigned>(packet->stream_index);
    if (index < in.decoders.size() && in.decoders[index] && avcodec_send_packet(in.decoders[index], packet) >= 0) {
      drain(index);
    }
    av_packet_unref(packet);
  }
  for (unsigned i = 0; i < in.decoders.size(); ++i) {
    if (in.decoders[i] && avcodec_send_packet(in.decoders[i], nullptr) >= 0) drain(i);
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  file.ok = true;
  return file;
}

std::vector<uint8_t> FrameBgr(const std::string& path, int64_t index, int& width, int& height) {
  Input in;
  std::vector<uint8_t> out;
  if (!in.Open(path)) return out;
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  bool got = false;
  int64_t seen = 0;
  const auto convert = [&] {
    width = frame->width;
    height = frame->height;
    out.resize(static_cast<size_t>(width) * height * 3);
    SwsContext* sws = sws_getContext(width, height, static_cast<AVPixelFormat>(frame->format), width, height,
                                     AV_PIX_FMT_BGR24, SWS_POINT, nullptr, nullptr, nullptr);
    uint8_t* planes[1] = {out.data()};
    const int strides[1] = {width * 3};
    sws_scale(sws, frame->data, frame->linesize, 0, height, planes, strides);
    sws_freeContext(sws);
    got = true;
  };
  const auto take = [&](AVCodecContext* d) {
    while (!got && avcodec_receive_frame(d, frame) >= 0) {
      if (seen++ == index) convert();
    }
  };
  while (!got && av_read_frame(in.format, packet) >= 0) {
    const auto stream = static_cast<unsigned>(packet->stream_index);
    AVCodecContext* d = stream < in.decoders.size() ? in.decoders[stream] : nullptr;
    if (d && d->codec_type == AVMEDIA_TYPE_VIDEO && avcodec_send_packet(d, packet) >= 0) take(d);
    av_packet_unref(packet);
  }
  for (AVCodecContext* d : in.decoders) {
    if (!got && d && d->codec_type == AVMEDIA_TYPE_VIDEO && avcodec_send_packet(d, nullptr) >= 0) take(d);
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  return out;
}

std::map<std::string, std::string> FfprobeStream(const std::string& path,
                                                 const std::string& stream) {
  const std::string command = "ffprobe -v error -select_streams " + stream +
                              " -show_streams -of default=noprint_wrappers=1 '" + path +
                              "' 2>/dev/null";
  std::map<std::string, std::string> fields;
  FILE* out = popen(command.c_str(), "r");
  if (out == nullptr) return fields;
  char line[512];
  while (std::fgets(line, sizeof line, out) != nullptr) {
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    const size_t equals = text.find('=');
    if (equals != std::string::npos) fields[text.substr(0, equals)] = text.substr(equals + 1);
  }
  pclose(out);
  return fields;
}

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const double d = static_cast<double>(a[i]) - b[i];
    sum += d * d;
  }
  if (sum == 0) return 99;
  return 10 * std::log10(255.0 * 255.0 / (sum / static_cast<double>(a.size())));
}

}  // namespace dvr::test
