// Plays the controllers in Ruffle, in headless Chromium, from a loopback
// server: the pages of controller-output runs and the program's preview page,
// which embeds every controller with and without "?p00012". What is checked is what a visitor would notice:
// which files are fetched, whether sound comes out, and which lamps are lit.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const served = process.env.ORVALIN_SERVED;
const ruffleDir = path.join(here, 'node_modules', '@ruffle-rs', 'ruffle');
const layout = JSON.parse(fs.readFileSync(path.join(served, 'layout.json'), 'utf8'));
const screenshots = path.join(served, 'screenshots');

// A buffer whose loudest sample passes this carries sound; the preview tone
// peaks far above it, and Ruffle's mixer writes exact zeros when idle.
const kSoundPeak = 0.02;

const contentTypes = {
  '.htm': 'text/html; charset=iso-8859-1',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.swf': 'application/x-shockwave-flash',
  '.json': 'application/json',
};

let server;
let origin;
let chromiumContext; // Chromium with a fresh profile of its own
let userDataDir;
const hits = [];

function serve(request, response) {
  const url = new URL(request.url, 'http://localhost');
  const name = decodeURIComponent(url.pathname);
  const file = name.startsWith('/ruffle/')
    ? path.join(ruffleDir, name.slice('/ruffle/'.length))
    : path.join(served, name);
  const inside = file.startsWith(served + path.sep) || file.startsWith(ruffleDir + path.sep);
  if (!inside || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    hits.push({ path: name, status: 404 });
    response.writeHead(404, { 'Content-Type': 'text/plain' });
    response.end('not found');
    return;
  }
  hits.push({ path: name, status: 200 });
  response.writeHead(200, {
    'Content-Type': contentTypes[path.extname(file)] ?? 'application/octet-stream',
    // Every controller must fetch its stream itself, not find it cached.
    'Cache-Control': 'no-store',
  });
  fs.createReadStream(file).pipe(response);
}

// Runs in each page before its scripts: Ruffle's settings, and a record of
// every audio buffer Ruffle's mixer hands to Web Audio with its loudest sample.
function pageSetup() {
  window.RufflePlayer = {
    config: {
      autoplay: 'on',
      unmuteOverlay: 'hidden',
      splashScreen: false,
      letterbox: 'off',
      contextMenu: 'off',
      publicPath: '/ruffle/',
      logLevel: 'warn',
      // Software WebGL in headless Chromium leaves screenshots blank; a 2D
      // canvas can also be read back for the lamps' colours.
      preferredRenderer: 'canvas',
    },
  };
  window.soundLog = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    let peak = 0;
    if (this.buffer) {
      for (let channel = 0; channel < this.buffer.numberOfChannels; ++channel) {
        const samples = this.buffer.getChannelData(channel);
        for (let i = 0; i < samples.length; ++i) peak = Math.max(peak, Math.abs(samples[i]));
      }
    }
    window.soundLog.push({ at: performance.now(), peak });
    return start.apply(this, args);
  };
}

async function openPage(relativeUrl) {
  const page = await chromiumContext.newPage();
  const record = { page, responses: [], errors: [] };
  page.on('response', (r) => record.responses.push({ path: new URL(r.url()).pathname, status: r.status() }));
  page.on('pageerror', (e) => record.errors.push(String(e)));
  page.on('console', (m) => {
    // Failed fetches are judged by their responses, not by the console.
    if (m.type() === 'error' && !m.text().startsWith('Failed to load resource')) record.errors.push(m.text());
  });
  await page.addInitScript(pageSetup);
  await page.goto(`${origin}/${relativeUrl}`, { waitUntil: 'load' });
  // Ruffle comes from the test, never from our pages.
  await page.addScriptTag({ url: '/ruffle/ruffle.js' });
  return record;
}

async function pageTime(page) {
  return page.evaluate(() => performance.now());
}

// Ruffle's mixer hands over buffers all the time, silent or not: quiet means
// that it does, and that none since `from` carried sound.
async function assertQuiet(page, from, message) {
  const { count, peak } = await page.evaluate((f) => {
    const log = window.soundLog.filter((b) => b.at >= f);
    return { count: log.length, peak: log.reduce((m, b) => Math.max(m, b.peak), 0) };
  }, from);
  assert.ok(count > 0, 'Ruffle mixes sound at all');
  assert.ok(peak < kSoundPeak, message);
}

async function waitFor(what, check, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) assert.fail(`timed out waiting for ${what}`);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// Waits until a buffer with sound starts after `from`; returns its time.
async function waitForSound(page, from, timeoutMs) {
  try {
    return await waitFor(
      'sound',
      () => page.evaluate(([f, p]) => window.soundLog.find((b) => b.at >= f && b.peak > p)?.at, [from, kSoundPeak]),
      timeoutMs,
    );
  } catch (error) {
    const heard = await page.evaluate(
      (f) => window.soundLog.filter((b) => b.at >= f).map((b) => `${Math.round(b.at)}:${b.peak.toFixed(3)}`),
      from,
    );
    error.message += ` since ${Math.round(from)} ms; buffers heard: ${heard.slice(-40).join(' ')}`;
    throw error;
  }
}

// Waits until Ruffle has been mixing silence for a while after `from`.
async function waitForSilence(page, from, spanMs, timeoutMs) {
  return waitFor(
    'silence',
    () =>
      page.evaluate(
        ([f, span, p]) => {
          const log = window.soundLog.filter((b) => b.at >= f);
          const lastLoud = log.filter((b) => b.peak > p).at(-1)?.at ?? f;
          const now = performance.now();
          const stillMixing = log.length > 0 && log.at(-1).at > now - 1000;
          return now - lastLoud >= span && stillMixing ? lastLoud : undefined;
        },
        [from, spanMs, kSoundPeak],
      ),
    timeoutMs,
  );
}

async function players(page, count) {
  await waitFor(`${count} Ruffle players`, async () => (await page.locator('ruffle-object, ruffle-embed').count()) === count, 15000);
  return page.locator('ruffle-object, ruffle-embed').all();
}

function distance(rgb, hex) {
  const value = parseInt(hex.slice(1), 16);
  return Math.abs(rgb[0] - (value >> 16)) + Math.abs(rgb[1] - ((value >> 8) & 255)) + Math.abs(rgb[2] - (value & 255));
}

// The colours under the given points (in CSS pixels) of a player, read from
// the canvas Ruffle draws on, which has more pixels than that; null until
// Ruffle has made that canvas.
async function pixels(player, points) {
  return player.evaluate((element, spots) => {
    const canvas = element.shadowRoot?.querySelector('canvas');
    if (!canvas || canvas.width === 0) return null;
    const scale = canvas.width / element.getBoundingClientRect().width;
    const context = canvas.getContext('2d');
    return spots.map(([x, y]) => Array.from(context.getImageData(Math.round(x * scale), Math.round(y * scale), 1, 1).data));
  }, points);
}

// Which lamps are lit: each lamp's colour is nearer its lit than its unlit colour.
async function litLamps(player, buttons) {
  const roles = ['play', 'stop', 'loop'];
  const colours = await pixels(player, roles.map((r) => [buttons[r].x, buttons[r].lampY]));
  if (!colours) return ['nothing drawn yet'];
  return roles.filter((r, i) => distance(colours[i], buttons.lampOn) < distance(colours[i], buttons.lampOff));
}

async function waitForLamps(player, buttons, expected, timeoutMs = 10000) {
  const wanted = expected.join('+');
  let seen;
  const end = Date.now() + timeoutMs;
  while ((seen = (await litLamps(player, buttons)).join('+')) !== wanted) {
    if (Date.now() > end) assert.fail(`lamps lit: "${seen}", expected "${wanted}"`);
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

// Waits until the colour at a point is nearer `wanted` than `instead`, as a
// button's face changes colour with the mouse.
async function waitForColour(player, point, wanted, instead, what) {
  await waitFor(
    what,
    async () => {
      const colours = await pixels(player, [[point.x, point.y]]);
      return colours && distance(colours[0], wanted) < distance(colours[0], instead);
    },
    3000,
  );
}

async function click(page, player, point) {
  const box = await player.boundingBox();
  await page.mouse.click(box.x + point.x, box.y + point.y);
}

async function streamArrived(record, stream) {
  await waitFor(
    `${stream} to be fetched`,
    () => record.responses.find((r) => r.path.endsWith(`/${stream}`) && r.status === 200),
    15000,
  );
}

function run(letter, hasStream = true) {
  return layout.runs.find((r) => r.letter === letter && r.hasStream === hasStream);
}

before(async () => {
  server = http.createServer(serve);
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
  userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'orvalin-chromium-'));
  fs.mkdirSync(screenshots, { recursive: true });
  chromiumContext = await chromium.launchPersistentContext(userDataDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: { width: 900, height: 700 },
    // Sharp enough screenshots for the documentation.
    deviceScaleFactor: 2,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      // Sound without a click, as a visitor who allowed it would hear it.
      '--autoplay-policy=no-user-gesture-required',
    ],
  });
});

after(async () => {
  await chromiumContext?.close();
  server?.close();
  if (userDataDir) fs.rmSync(userDataDir, { recursive: true, force: true });
});

// Two pages play side by side, each with an audio context of its own; more
// would starve each other on a small machine.
describe('controllers in Ruffle', { concurrency: 2 }, () => {
  test('"c" loads its stream, waits stopped and looping, plays on a click and stops on another', async () => {
    const r = run('c');
    const record = await openPage(r.page);
    const [player] = await players(record.page, 1);
    await streamArrived(record, r.stream);
    await waitForLamps(player, r.buttons, ['stop', 'loop']);
    const loaded = await pageTime(record.page);
    await new Promise((resolve) => setTimeout(resolve, 2000));
    await assertQuiet(record.page, 0, 'no sound before play is clicked');

    const box = await player.boundingBox();
    const edge = { x: r.buttons.stop.x, y: r.buttons.stop.y - r.buttons.stop.height / 2 + 2 };
    await record.page.mouse.move(box.x + edge.x, box.y + edge.y);
    await waitForColour(player, edge, r.buttons.faceOver, r.buttons.face, 'the stop button to light up under the mouse');

    const clicked = await pageTime(record.page);
    await click(record.page, player, r.buttons.play);
    await waitForLamps(player, r.buttons, ['play', 'loop']);
    const heard = await waitForSound(record.page, Math.max(loaded, clicked), 6000);
    await player.screenshot({ path: path.join(screenshots, `${r.controller}-playing.png`) });

    await click(record.page, player, r.buttons.stop);
    await waitForLamps(player, r.buttons, ['stop', 'loop']);
    await waitForSilence(record.page, heard, 1000, 4000);
    assert.deepEqual(record.errors, []);
    await record.page.close();
  });

  test('"d" waits stopped, plays once on a click, and stops at the end', async () => {
    const r = run('d');
    const record = await openPage(r.page);
    const [player] = await players(record.page, 1);
    await streamArrived(record, r.stream);
    await waitForLamps(player, r.buttons, ['stop']);
    await player.screenshot({ path: path.join(screenshots, `${r.controller}-stopped.png`) });
    const clicked = await pageTime(record.page);
    await click(record.page, player, r.buttons.play);
    await waitForLamps(player, r.buttons, ['play']);
    const heard = await waitForSound(record.page, clicked, 6000);
    await waitForSilence(record.page, heard, 2500, 12000);
    await waitForLamps(player, r.buttons, ['stop']);
    assert.deepEqual(record.errors, []);
    await record.page.close();
  });

  test('"e" plays at once and starts its sound again after the end', async () => {
    const r = run('e');
    const record = await openPage(r.page);
    const [player] = await players(record.page, 1);
    await streamArrived(record, r.stream);
    await waitForLamps(player, r.buttons, ['play', 'loop']);
    const heard = await waitForSound(record.page, 0, 10000);
    await player.screenshot({ path: path.join(screenshots, `${r.controller}-playing.png`) });
    // The stream's first frame carries no sound: a looped stream falls quiet
    // for a moment before it starts again.
    const quiet = await waitForSilence(record.page, heard, 600, 9000);
    await waitForSound(record.page, quiet + 600, 6000);
    assert.deepEqual(record.errors, []);
    await record.page.close();
  });

  test('"f" plays at once and stops at the end', async () => {
    const r = run('f');
    const record = await openPage(r.page);
    const [player] = await players(record.page, 1);
    await streamArrived(record, r.stream);
    await waitForLamps(player, r.buttons, ['play']);
    const heard = await waitForSound(record.page, 0, 10000);
    await waitForSilence(record.page, heard, 2500, 12000);
    await waitForLamps(player, r.buttons, ['stop']);
    assert.deepEqual(record.errors, []);
    await record.page.close();
  });

  test('any other letter waits stopped and looping, as "c" does, until loop is clicked', async () => {
    const r = run('x');
    const record = await openPage(r.page);
    const [player] = await players(record.page, 1);
    await streamArrived(record, r.stream);
    await waitForLamps(player, r.buttons, ['stop', 'loop']);
    await new Promise((resolve) => setTimeout(resolve, 1500));
    await assertQuiet(record.page, 0, 'no sound without a click');
    // Pressed, the loop button darkens; released, it turns looping off.
    const box = await player.boundingBox();
    const edge = { x: r.buttons.loop.x, y: r.buttons.loop.y - r.buttons.loop.height / 2 + 2 };
    await record.page.mouse.move(box.x + edge.x, box.y + edge.y);
    await record.page.mouse.down();
    await waitForColour(player, edge, r.buttons.faceDown, r.buttons.faceOver, 'the loop button to darken when pressed');
    await record.page.mouse.up();
    await waitForLamps(player, r.buttons, ['stop']);
    assert.deepEqual(record.errors, []);
    await record.page.close();
  });

  test('a controller without its stream shows no sound and no error', async () => {
    const r = run('c', false);
    const record = await openPage(r.page);
    const [player] = await players(record.page, 1);
    await waitFor(`the request for ${r.stream}`, () => record.responses.find((x) => x.path.endsWith(`/${r.stream}`)), 15000);
    assert.equal(record.responses.find((x) => x.path.endsWith(`/${r.stream}`)).status, 404);
    await waitForLamps(player, r.buttons, []);
    await click(record.page, player, r.buttons.play);
    await new Promise((resolve) => setTimeout(resolve, 1500));
    assert.deepEqual(await litLamps(player, r.buttons), []);
    await assertQuiet(record.page, 0, 'no sound without a stream');
    await player.screenshot({ path: path.join(screenshots, `${r.controller}-no-sound.png`) });
    assert.deepEqual(record.errors, []);
    await record.page.close();
  });

  // The program's preview page embeds each controller twice: without a query
  // (no stream to find: quiet) and with "?p00012" (the preview sound).
  test('every controller on the preview page plays preview.swf', async () => {
    const preview = layout.preview;
    const hitsBefore = hits.filter((h) => h.path === '/preview/preview.swf' && h.status === 200).length;
    const record = await openPage(preview.page);
    const all = await players(record.page, 2 * preview.controllers.length);
    await waitFor(
      'every controller to fetch preview.swf',
      () => hits.filter((h) => h.path === '/preview/preview.swf' && h.status === 200).length - hitsBefore >= preview.controllers.length,
      15000,
    );
    let first;
    for (const player of all) {
      const source = await player.getAttribute('src');
      const controller = preview.controllers.find((c) => source.startsWith(`${c.controller}.swf`));
      assert.ok(controller, `${source} is one of ours`);
      if (source.endsWith('?p00012')) {
        await waitForLamps(player, controller.buttons, ['stop', 'loop']);
        await player.screenshot({ path: path.join(screenshots, `${controller.controller}.png`) });
        first ??= { player, controller };
      } else {
        await waitForLamps(player, controller.buttons, []);
      }
    }
    const boxes = await Promise.all(all.map((player) => player.boundingBox()));
    const clip = { x: 0, y: 0, width: 720, height: Math.max(...boxes.map((b) => b.y + b.height)) + 8 };
    await record.page.screenshot({ path: path.join(screenshots, 'preview-page.png'), clip });
    const clicked = await pageTime(record.page);
    await click(record.page, first.player, first.controller.buttons.play);
    await waitForSound(record.page, clicked, 6000);
    assert.deepEqual(record.errors, []);
    await record.page.close();
  });
});
