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

// Runs in each page before its scripts: records, for every buffer the mixer
// hands over, when it will be heard and its loudest sample, and the time of
// the visitor's every click and key press.
function recordSound() {
  window.soundLog = [];
  window.visitorActs = [];
  for (const type of ['pointerdown', 'keydown']) {
    window.addEventListener(type, () => window.visitorActs.push(performance.now()), true);
  }
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (when = 0, ...rest) {
    const context = this.context;
    let peak = 0;
    let first = -1;
    for (let channel = 0; channel < (this.buffer?.numberOfChannels ?? 0); ++channel) {
      const samples = this.buffer.getChannelData(channel);
      for (let i = 0; i < samples.length; ++i) {
        const level = Math.abs(samples[i]);
        if (level > peak) peak = level;
        if (level > 0.02 && (first < 0 || i < first)) first = i;
      }
    }
    // The moment the first loud sample reaches the speaker, in page time.
    const ahead = Math.max(0, when - context.currentTime) + Math.max(0, first) / this.buffer.sampleRate +
      (context.outputLatency || context.baseLatency || 0);
    window.soundLog.push({ at: performance.now(), heard: performance.now() + ahead * 1000, peak, state: context.state });
    return start.call(this, when, ...rest);
  };
}

// Starts a visitor's browser; `env` carries the sound server's address. A
// visitor may have allowed sound without a click (Chromium only), and
// screenshots for the documentation take a sharper screen.
export async function launchVisitor(name, env, { allowSound = false, scale = 1 } = {}) {
  const common = {
    headless: true, defaultViewport: { width: 900, height: 700, deviceScaleFactor: scale },
    env: { ...process.env, ...env },
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

// Opens a page that records its sound, in a new tab of the browser, with
// what the page fetched and the errors it met.
export async function openPage(browser, url) {
  const page = await browser.newPage();
  const record = { page, responses: [], errors: [] };
  page.on('response', (r) => record.responses.push({ url: new URL(r.url()), status: r.status() }));
  page.on('pageerror', (e) => record.errors.push(String(e)));
  page.on('console', (m) => {
    // Failed fetches are judged by their responses, not by the console.
    if (m.type() === 'error' && !m.text().startsWith('Failed to load resource')) record.errors.push(m.text());
  });
  await page.evaluateOnNewDocument(recordSound);
  await page.goto(url, { waitUntil: 'load' });
  return record;
}

// The page's time now, the buffers handed over since `from`, the visitor's
// acts and the player's requests.
export const soundSince = (page, from = 0) => page.evaluate((f) => ({
  now: performance.now(),
  log: window.soundLog.filter((b) => b.at >= f),
  acts: window.visitorActs,
  requests: performance.getEntriesByType('resource').map((r) => ({ name: r.name, start: r.startTime, end: r.responseEnd })),
}), from);

// The first buffer with sound handed over after `from`, once there is one.
export const waitForSound = (page, from, timeoutMs) => waitFor(`sound after ${Math.round(from)} ms`,
  async () => (await soundSince(page, from)).log.find((b) => b.peak > kSoundPeak), timeoutMs);
