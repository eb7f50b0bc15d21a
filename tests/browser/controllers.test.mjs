// Plays the controllers in Ruffle, in headless Chromium, from a loopback
// server: the pages of controller-output runs. What is checked is what a
// visitor would notice: which files are fetched, whether sound comes
// out, and which lamps are lit.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { spawn } from 'node:child_process';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const served = process.env.ORVALIN_SERVED;
const ruffleDir = path.join(path.dirname(fileURLToPath(import.meta.url)), 'node_modules', '@ruffle-rs', 'ruffle');
const layout = JSON.parse(fs.readFileSync(path.join(served, 'layout.json'), 'utf8'));
const screenshots = path.join(served, 'screenshots');
const contentTypes = {
  '.htm': 'text/html; charset=iso-8859-1',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.swf': 'application/x-shockwave-flash',
};
// A buffer whose loudest sample passes this carries sound; the preview tone
// peaks far above it, and Ruffle's mixer writes exact zeros when idle.
const kSoundPeak = 0.02;

let server;
let origin;
let chromiumContext; // Chromium with a fresh profile of its own
let userDataDir;
const hits = [];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function serve(request, response) {
  const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  const file = name.startsWith('/ruffle/') ? path.join(ruffleDir, name.slice(8)) : path.join(served, name);
  const inside = file.startsWith(served + path.sep) || file.startsWith(ruffleDir + path.sep);
  const found = inside && fs.existsSync(file) && fs.statSync(file).isFile();
  hits.push({ path: name, status: found ? 200 : 404 });
  if (!found) {
    response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
    return;
  }
  // Every controller must fetch its stream itself, not find it cached.
  response.writeHead(200, {
    'Content-Type': contentTypes[path.extname(file)] ?? 'application/octet-stream',
    'Cache-Control': 'no-store',
  });
  fs.createReadStream(file).pipe(response);
}

// Runs in each page before its scripts: Ruffle's settings when the test
// brings Ruffle, and a record of every audio buffer Ruffle's mixer hands to
// Web Audio with its loudest sample.
function pageSetup(configure) {
  // Software WebGL in headless Chromium leaves screenshots blank; a 2D canvas
  // can also be read back for the lamps' colours.
  if (configure) {
    window.RufflePlayer = {
      config: { autoplay: 'on', unmuteOverlay: 'hidden', splashScreen: false, letterbox: 'off', contextMenu: 'off',
        publicPath: '/ruffle/', logLevel: 'warn', preferredRenderer: 'canvas' },
    };
  }
  window.soundLog = [];
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...args) {
    let peak = 0;
    for (let channel = 0; channel < (this.buffer?.numberOfChannels ?? 0); ++channel) {
      for (const sample of this.buffer.getChannelData(channel)) peak = Math.max(peak, Math.abs(sample));
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
  await page.addInitScript(pageSetup, true);
  await page.goto(`${origin}/${relativeUrl}`, { waitUntil: 'load' });
  // Ruffle comes from the test, never from our pages.
  await page.addScriptTag({ url: '/ruffle/ruffle.js' });
  return record;
}

async function closePage(record) {
  assert.deepEqual(record.errors, []);
  await record.page.close();
}

async function waitFor(what, check, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) assert.fail(`timed out waiting for ${typeof what === 'function' ? what() : what}`);
    await sleep(100);
  }
}

// The page's time now, and the buffers Ruffle's mixer handed over since
// `from`; it hands them over all the time, silent or not.
const soundSince = (page, from = 0) =>
  page.evaluate((f) => ({ now: performance.now(), log: window.soundLog.filter((b) => b.at >= f) }), from);

// No sound since the page opened, though Ruffle mixes.
async function assertQuiet(page, message) {
  const { log } = await soundSince(page);
  assert.ok(log.length > 0, 'Ruffle mixes sound at all');
  assert.ok(log.every((b) => b.peak < kSoundPeak), message);
}

// Waits until a buffer with sound starts after `from`; returns its time.
const waitForSound = (page, from, timeoutMs) =>
  waitFor(`sound after ${Math.round(from)} ms`,
    async () => (await soundSince(page, from)).log.find((b) => b.peak > kSoundPeak)?.at, timeoutMs);

// Waits until Ruffle has been mixing silence for spanMs after `from`; returns
// when the sound stopped.
const waitForSilence = (page, from, spanMs, timeoutMs) =>
  waitFor('silence', async () => {
    const { now, log } = await soundSince(page, from);
    const lastLoud = log.filter((b) => b.peak > kSoundPeak).at(-1)?.at ?? from;
    return now - lastLoud >= spanMs && log.at(-1)?.at > now - 1000 ? lastLoud : undefined;
  }, timeoutMs);

async function players(page, count) {
  const all = page.locator('ruffle-object, ruffle-embed');
  await waitFor(`${count} Ruffle players`, async () => (await all.count()) === count, 15000);
  return all.all();
}

// Whether a colour is nearer `wanted` than `instead`.
function nearer(rgb, wanted, instead) {
  const distance = (hex) => [16, 8, 0].reduce((sum, shift, i) => sum + Math.abs(rgb[i] - ((parseInt(hex.slice(1), 16) >> shift) & 255)), 0);
  return distance(wanted) < distance(instead);
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

// Which lamps are lit, as "play+loop": the lit ones are nearer their lit colour.
async function litLamps(player, buttons) {
  const roles = ['play', 'stop', 'loop'];
  const colours = await pixels(player, roles.map((r) => [buttons[r].x, buttons[r].lampY]));
  if (!colours) return 'nothing drawn yet';
  return roles.filter((r, i) => nearer(colours[i], buttons.lampOn, buttons.lampOff)).join('+');
}

async function waitForLamps(player, buttons, lit) {
  let seen;
  await waitFor(() => `lamps lit "${lit}", seen "${seen}"`, async () => (seen = await litLamps(player, buttons)) === lit, 10000);
}

async function click(page, player, point) {
  const box = await player.boundingBox();
  await page.mouse.click(box.x + point.x, box.y + point.y);
}

// Opens the page of a run, checks that its one player asks for its stream,
// and goes through the steps, each [action, ...arguments]:
//   lamps LIT            until exactly these lamps are lit, "" for none
//   wait MS, quiet       and no sound has come out since the page opened
//   hover/press BUTTON   until the button's face turns its over/down colour
//   release, click BUTTON
//   sound MS             until sound comes, after the last click or silence
//   silence SPAN MS      until Ruffle has mixed silence for SPAN
//   shot NAME            a screenshot for the documentation
async function playRun(letter, hasStream, steps) {
  const run = layout.runs.find((r) => r.letter === letter && r.hasStream === hasStream);
  const stream = `/run/orvaln${run.number}s.swf`;
  const record = await openPage(`run/orvaln${run.number}.htm`);
  const { page } = record;
  const [player] = await players(page, 1);
  const fetched = await waitFor(`the request for ${stream}`, () => record.responses.find((r) => r.path === stream), 15000);
  assert.equal(fetched.status, hasStream ? 200 : 404);
  const buttons = layout.looks[run.controller];
  let since = 0;
  let heard;
  for (const [action, a, b] of steps) {
    if (action === 'lamps') await waitForLamps(player, buttons, a);
    else if (action === 'wait') await sleep(a);
    else if (action === 'quiet') await assertQuiet(page, 'no sound before play is clicked, nor without a stream');
    else if (action === 'hover' || action === 'press') {
      const box = await player.boundingBox();
      const edge = [buttons[a].x, buttons[a].y - buttons[a].height / 2 + 2];
      await page.mouse.move(box.x + edge[0], box.y + edge[1]);
      if (action === 'press') await page.mouse.down();
      const [wanted, instead] = action === 'hover' ? [buttons.faceOver, buttons.face] : [buttons.faceDown, buttons.faceOver];
      await waitFor(`the ${a} button's face to turn ${wanted}`, async () => {
        const colours = await pixels(player, [edge]);
        return colours && nearer(colours[0], wanted, instead);
      }, 3000);
    } else if (action === 'release') await page.mouse.up();
    else if (action === 'click') {
      since = (await soundSince(page)).now;
      await click(page, player, buttons[a]);
    } else if (action === 'sound') heard = await waitForSound(page, since, a);
    else if (action === 'silence') since = (await waitForSilence(page, heard, a, b)) + a;
    else if (action === 'shot') await player.screenshot({ path: path.join(screenshots, `${run.controller}-${a}.png`) });
    else assert.fail(`no such step: ${action}`);
  }
  await closePage(record);
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
    deviceScaleFactor: 2, // sharp enough screenshots for the documentation
    // Sound without a click, as a visitor who allowed it would hear it.
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--autoplay-policy=no-user-gesture-required'],
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
  const runs = [
    ['"c" loads its stream, waits stopped and looping, plays on a click and stops on another', 'c', true,
      [['lamps', 'stop+loop'], ['wait', 2000], ['quiet'], ['hover', 'stop'], ['click', 'play'], ['lamps', 'play+loop'],
        ['sound', 6000], ['shot', 'playing'], ['click', 'stop'], ['lamps', 'stop+loop'], ['silence', 1000, 4000]]],
    ['"d" waits stopped, plays once on a click, and stops at the end', 'd', true,
      [['lamps', 'stop'], ['shot', 'stopped'], ['click', 'play'], ['lamps', 'play'], ['sound', 6000],
        ['silence', 2500, 12000], ['lamps', 'stop']]],
    // The stream's first frame carries no sound: a looped stream falls quiet
    // for a moment before it starts again.
    ['"e" plays at once and starts its sound again after the end', 'e', true,
      [['lamps', 'play+loop'], ['sound', 10000], ['shot', 'playing'], ['silence', 600, 9000], ['sound', 6000]]],
    ['"f" plays at once and stops at the end', 'f', true,
      [['lamps', 'play'], ['sound', 10000], ['silence', 2500, 12000], ['lamps', 'stop']]],
    // Pressed, the loop button darkens; released, it turns looping off.
    ['any other letter waits stopped and looping, as "c" does, until loop is clicked', 'x', true,
      [['lamps', 'stop+loop'], ['wait', 1500], ['quiet'], ['press', 'loop'], ['release'], ['lamps', 'stop']]],
    ['a controller without its stream shows no sound and no error', 'c', false,
      [['lamps', ''], ['click', 'play'], ['wait', 1500], ['lamps', ''], ['quiet'], ['shot', 'no-sound']]],
  ];
  for (const [name, letter, hasStream, steps] of runs) test(name, () => playRun(letter, hasStream, steps));
});

// Pages made with the web player, served by the desktop program's own page
// server, in a Chromium that holds sound back until a click, as browsers do
// for a visitor; the pages bring the player themselves.
describe('pages with the web player', () => {
  let pageServer;
  let webBase; // the served folder's address, ending in a slash
  let visitor;
  let visitorDir;

  before(async () => {
    pageServer = spawn(process.env.ORVALIN_PAGE_SERVER, [path.join(served, 'web')], { stdio: ['ignore', 'pipe', 'inherit'] });
    let output = '';
    pageServer.stdout.on('data', (chunk) => { output += chunk; });
    webBase = new URL(await waitFor('the page server\'s address', () => output.match(/^(http:\S+\/)\n/)?.[1], 10000));
    visitorDir = fs.mkdtempSync(path.join(os.tmpdir(), 'orvalin-visitor-'));
    visitor = await chromium.launchPersistentContext(visitorDir, {
      executablePath: '/usr/bin/chromium', headless: true, viewport: { width: 900, height: 700 },
      args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
    });
  });

  after(async () => {
    await visitor?.close();
    pageServer?.kill();
    if (visitorDir) fs.rmSync(visitorDir, { recursive: true, force: true });
  });

  // A visitor clicks the controller's play button, or, for sound that plays
  // unseen, anywhere on the page.
  for (const [kind, number, hasPlayButton] of [['a controller page', 7, true], ['a bare page', 8, false]]) {
    test(`${kind} plays its stream for a visitor who clicks`, async () => {
      const page = await visitor.newPage();
      const responses = [];
      page.on('response', (r) => responses.push({ url: new URL(r.url()), status: r.status() }));
      await page.addInitScript(pageSetup, false);
      await page.goto(new URL(`orvaln${number}.htm`, webBase).href, { waitUntil: 'load' });
      const [player] = await players(page, 1);
      // Without a graphics card, the player first says so; a visitor closes
      // that note and clicks play again.
      const shown = () => player.evaluate((element) => ['#play-button', '#hardware-acceleration-modal'].map((id) => {
        const part = element.shadowRoot?.querySelector(id);
        return Boolean(part) && getComputedStyle(part).display !== 'none';
      }));
      // Chromium holds the sound back until a click most of the time, not
      // always; while it does, nothing may sound.
      const started = await waitFor('the player to be ready', async () => (await shown()).some(Boolean) ||
        (await soundSince(page)).log.length > 0 && 'started', 15000);
      if (started !== 'started') {
        await sleep(1000);
        assert.ok((await soundSince(page)).log.every((b) => b.peak < kSoundPeak), 'no sound before the click');
      }
      const box = await player.boundingBox();
      let clicked = false;
      await waitFor('the player to start', async () => {
        const [playButton, note] = await shown();
        if (note) await player.locator('#hardware-acceleration-modal .close-modal').click();
        else if (playButton || !clicked) {
          const [x, y] = hasPlayButton ? [box.width / 2, box.height / 2] : [300, 100];
          await page.mouse.click(box.x + x, box.y + y);
          clicked = true;
        }
        return clicked && !playButton && !note;
      }, 15000);
      const stream = await waitFor('the stream\'s request',
        () => responses.find((r) => r.url.href === new URL(`orvaln${number}s.swf`, webBase).href), 15000);
      assert.equal(stream.status, 200);
      await waitForSound(page, 0, 15000);
      // Everything came from the page's own folder; a browser asks for an icon too.
      const favicon = (r) => r.url.pathname === '/favicon.ico';
      assert.deepEqual(responses.filter((r) => !favicon(r) && (!r.url.href.startsWith(webBase.href) || r.status !== 200)), []);
      assert.ok(responses.some((r) => r.url.href === new URL('ruffle/ruffle-player.js', webBase).href));
      await page.close();
    });
  }

  test('a page opened as a file shows the player\'s message about it', async () => {
    const page = await visitor.newPage();
    await page.goto(pathToFileURL(path.join(served, 'web', 'orvaln7.htm')).href, { waitUntil: 'load' });
    const [player] = await players(page, 1);
    await waitFor('the message about "file:"', () => player.evaluate(
      (element) => element.shadowRoot?.textContent.includes('"file:" protocol')), 15000);
    await page.close();
  });
});
