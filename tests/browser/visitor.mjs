// A visitor's browser, Chromium or Firefox, driven by puppeteer-core: it
// holds sound back until a click, as browsers do for a visitor, and each page
// records the sound the player hands to Web Audio. Shared by the browser test
// and the time-to-sound benchmark.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { spawn } from 'node:child_process';
import puppeteer from 'puppeteer-core';

export const browserNames = ['chromium', 'firefox'];

// A buffer whose loudest sample passes this carries sound; the player's mixer
// writes exact zeros when idle.
export const kSoundPeak = 0.02;

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Polls `check` until it returns something true, and fails when `timeoutMs`
// passes first.
export async function waitFor(what, check, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${typeof what === 'function' ? what() : what}`);
    await sleep(50);
  }
}

// A PulseAudio server of its own with one null sink: without a sound card
// Firefox starts no audio at all. Returns the environment that points a
// browser at it, and a stop function.
export async function startSoundServer() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'orvalin-pulse-'));
  const socket = path.join(dir, 'native');
  const server = spawn('pulseaudio', ['-n', '--daemonize=no', '--exit-idle-time=-1', '--use-pid-file=no',
    '--log-target=stderr', '--log-level=error', '-L', `module-native-protocol-unix socket=${socket} auth-anonymous=1`,
    '-L', 'module-null-sink', '-L', 'module-always-sink'],
  { stdio: ['ignore', 'ignore', 'inherit'], env: { ...process.env, HOME: dir, XDG_RUNTIME_DIR: dir } });
  const stop = () => {
    server.kill();
    fs.rmSync(dir, { recursive: true, force: true });
  };
  try {
    await waitFor('the sound server', () => server.exitCode === null && fs.existsSync(socket), 10000);
  } catch (error) {
    stop();
    throw error;
  }
  return { env: { PULSE_SERVER: `unix:${socket}` }, stop };
}

// Runs in each page before its scripts, and reports through the console:
// a script the test ran in the page would count as an act of the visitor's,
// and the browser would let sound out. It reports every buffer the mixer
// hands over (when it will be heard, its loudest sample, whether the browser
// lets sound out), when the browser holds sound back or lets it out, the
// visitor's clicks and key presses, and every 100 ms
// the player's place, which of its own parts lie over the movie, and the
// colours under the given points of the movie.
function watchPage(points) {
  const report = (kind, value) => console.debug(`orvalin ${kind} ${JSON.stringify(value)}`);
  for (const type of ['pointerdown', 'keydown']) {
    window.addEventListener(type, () => report('act', { at: performance.now() }), true);
  }
  const PageAudioContext = window.AudioContext;
  window.AudioContext = class extends PageAudioContext {
    constructor(...options) {
      super(...options);
      this.addEventListener('statechange', () => report('state', { at: performance.now(), state: this.state }));
    }
  };
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (when = 0, ...rest) {
    const context = this.context;
    let peak = 0;
    let first = -1;
    for (let channel = 0; channel < this.buffer.numberOfChannels; ++channel) {
      const samples = this.buffer.getChannelData(channel);
      for (let i = 0; i < samples.length; ++i) {
        const level = Math.abs(samples[i]);
        if (level > peak) peak = level;
        if (level > 0.02 && (first < 0 || i < first)) first = i;
      }
    }
    // When the first loud sample reaches the sound card, in page time; a
    // buffer handed over while the browser holds sound back is heard that
    // long after the browser lets it out.
    const ahead = Math.max(0, when - context.currentTime) + Math.max(0, first) / this.buffer.sampleRate +
      (context.outputLatency || context.baseLatency || 0);
    const at = performance.now();
    report('sound', { at, heard: at + ahead * 1000, ahead: ahead * 1000, peak, state: context.state });
    return start.call(this, when, ...rest);
  };
  setInterval(() => {
    const player = document.querySelector('ruffle-object, ruffle-embed');
    if (!player) return;
    const { x, y, width, height } = player.getBoundingClientRect();
    const shown = ['play-button', 'unmute-overlay', 'splash-screen', 'hardware-acceleration-modal'].filter((id) => {
      const part = player.shadowRoot?.getElementById(id);
      return part && getComputedStyle(part).display !== 'none';
    });
    // The player draws on a plain canvas with more pixels than the page's.
    const canvas = player.shadowRoot?.querySelector('canvas');
    const context = canvas?.width > 0 && width > 0 ? canvas.getContext('2d') : null;
    const colours = context && points.map(([px, py]) => Array.from(context.getImageData(
      Math.round(px * canvas.width / width), Math.round(py * canvas.width / width), 1, 1).data));
    report('view', { at: performance.now(), box: { x, y, width, height }, shown, colours });
  }, 100);
}

// Starts a visitor's browser; `env` carries the sound server's address. A
// visitor may have allowed sound without a click (Chromium only), and
// screenshots for the documentation take a sharper screen.
export async function launchVisitor(name, env, { allowSound = false, scale = 1 } = {}) {
  const common = {
    headless: true, defaultViewport: { width: 900, height: 700, deviceScaleFactor: scale },
    env: { ...process.env, ...env },
    // A browser that stops answering fails the step well within the test's time.
    protocolTimeout: 30000,
  };
  if (name === 'firefox') {
    return puppeteer.launch({
      ...common, browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
      // A visitor's Firefox: audible media and Web Audio wait for a click.
      extraPrefsFirefox: { 'media.autoplay.default': 1, 'media.autoplay.block-webaudio': true },
    });
  }
  return puppeteer.launch({
    ...common, browser: 'chrome', executablePath: '/usr/bin/chromium', ignoreDefaultArgs: ['--mute-audio'],
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync',
      `--autoplay-policy=${allowSound ? 'no-user-gesture-required' : 'document-user-activation-required'}`],
  });
}

// Opens a page that reports as above, in a new tab of the browser (or
// context), with what the page fetched and the errors it met.
export async function openPage(browser, url, points = []) {
  const page = await browser.newPage();
  const record = { page, responses: [], errors: [], sound: [], states: [], acts: [], view: null, now: 0 };
  page.on('response', (r) => record.responses.push({ url: new URL(r.url()), status: r.status() }));
  page.on('pageerror', (e) => record.errors.push(String(e)));
  page.on('console', (m) => {
    const [, kind, value] = m.text().match(/^orvalin (\w+) (.*)$/) ?? [];
    if (kind) {
      const report = JSON.parse(value);
      record.now = Math.max(record.now, report.at);
      if (kind === 'view') record.view = report;
      else ({ act: record.acts, sound: record.sound, state: record.states })[kind].push(report);
    } else if (m.type() === 'error' && !m.text().startsWith('Failed to load resource')) {
      // Failed fetches are judged by their responses, not by the console.
      record.errors.push(m.text());
    }
  });
  await page.evaluateOnNewDocument(watchPage, points);
  await page.goto(url, { waitUntil: 'load' });
  return record;
}

// The page's latest time and the buffers handed over since `from`.
export const soundSince = (record, from = 0) => ({ now: record.now, log: record.sound.filter((b) => b.at >= from) });

// The first buffer with sound handed over after `from`, once there is one.
export const waitForSound = (record, from, timeoutMs) => waitFor(`sound after ${Math.round(from)} ms`,
  () => record.sound.find((b) => b.at >= from && b.peak > kSoundPeak), timeoutMs);
