// Plays the controllers in the Flash player for the web that the program
// ships, from loopback servers: first the pages of controller-output runs in
// Chromium, then pages made with the web player in Chromium and Firefox, as a
// visitor meets them. What is checked is what a visitor would notice: what
// shows, which files are fetched, whether sound comes out, and which lamps
// are lit.
import { describe, test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { spawn } from 'node:child_process';
import { pathToFileURL } from 'node:url';
import { browserNames, kSoundPeak, launchVisitor, openPage, sleep, soundSince, startSoundServer, waitFor,
  waitForSound } from './visitor.mjs';

const served = process.env.ORVALIN_SERVED;
const playerDir = process.env.ORVALIN_PLAYER; // the player the program ships
const layout = JSON.parse(fs.readFileSync(path.join(served, 'layout.json'), 'utf8'));
const screenshots = path.join(served, 'screenshots');
const contentTypes = {
  '.htm': 'text/html; charset=iso-8859-1',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.swf': 'application/x-shockwave-flash',
};

let sound; // the sound server every browser plays into
let server;
let origin;
let chromium; // sound allowed without a click, as a visitor who allowed it hears it

function serve(request, response) {
  const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
  const file = name.startsWith('/ruffle/') ? path.join(playerDir, name.slice(8)) : path.join(served, name);
  const inside = file.startsWith(served + path.sep) || file.startsWith(playerDir + path.sep);
  if (!inside || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
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

async function closePage(record) {
  assert.deepEqual(record.errors, []);
  await record.page.close();
}

// No sound heard since the page opened, though the player mixes. What it
// hands over while the browser holds sound back is heard only once the
// browser lets it out.
function assertQuiet(record, message) {
  const { log } = soundSince(record);
  assert.ok(log.length > 0, 'the player mixes sound at all');
  assert.ok(log.every((b) => b.peak < kSoundPeak || b.state !== 'running'), message);
}

// Waits until Ruffle has been mixing silence for spanMs after `from`; returns
// when the sound stopped.
const waitForSilence = (record, from, spanMs, timeoutMs) =>
  waitFor('silence', () => {
    const { now, log } = soundSince(record, from);
    const lastLoud = log.filter((b) => b.peak > kSoundPeak).at(-1)?.at ?? from;
    return now - lastLoud >= spanMs && log.at(-1)?.at > now - 1000 ? lastLoud : undefined;
  }, timeoutMs);

// The page's one player, once the player has put it in.
const playerOf = (page) => waitFor('the player', () => page.$('ruffle-object, ruffle-embed'), 15000);

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
  const record = await openPage(chromium, `${origin}/run/orvaln${run.number}.htm`);
  // These pages were made without the web player: the test brings the one
  // the program ships.
  await record.page.addScriptTag({ url: '/ruffle/ruffle.js' });
  const { page } = record;
  const controller = await playerOf(page);
  const fetched = await waitFor(`the request for ${stream}`,
    () => record.responses.find((r) => r.url.pathname === stream), 15000);
  assert.equal(fetched.status, hasStream ? 200 : 404);
  const buttons = layout.looks[run.controller];
  let since = 0;
  let heard;
  for (const [action, a, b] of steps) {
    if (action === 'lamps') await waitForLamps(controller, buttons, a);
    else if (action === 'wait') await sleep(a);
    else if (action === 'quiet') assertQuiet(record, 'no sound before play is clicked, nor without a stream');
    else if (action === 'hover' || action === 'press') {
      const box = await controller.boundingBox();
      const edge = [buttons[a].x, buttons[a].y - buttons[a].height / 2 + 2];
      await page.mouse.move(box.x + edge[0], box.y + edge[1]);
      if (action === 'press') await page.mouse.down();
      const [wanted, instead] = action === 'hover' ? [buttons.faceOver, buttons.face] : [buttons.faceDown, buttons.faceOver];
      await waitFor(`the ${a} button's face to turn ${wanted}`, async () => {
        const colours = await pixels(controller, [edge]);
        return colours && nearer(colours[0], wanted, instead);
      }, 3000);
    } else if (action === 'release') await page.mouse.up();
    else if (action === 'click') {
      since = record.now;
      await click(page, controller, buttons[a]);
    } else if (action === 'sound') heard = (await waitForSound(record, since, a)).at;
    else if (action === 'silence') since = (await waitForSilence(record, heard, a, b)) + a;
    else if (action === 'shot') await controller.screenshot({ path: path.join(screenshots, `${run.controller}-${a}.png`) });
    else assert.fail(`no such step: ${action}`);
  }
  await closePage(record);
}

before(async () => {
  sound = await startSoundServer();
  server = http.createServer(serve);
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  origin = `http://127.0.0.1:${server.address().port}`;
  fs.mkdirSync(screenshots, { recursive: true });
  chromium = await launchVisitor('chromium', sound.env, { allowSound: true, scale: 2 });
});

after(async () => {
  await chromium?.close();
  server?.close();
  sound?.stop();
});

// One page at a time: a tab in the background gets no animation frames, so
// its player stands still.
describe('controllers in Ruffle', () => {
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
// server, in browsers that hold sound back until the visitor acts, as a
// visitor's do; the pages bring the player themselves.
describe('pages with the web player', () => {
  let pageServer;
  let base; // the served folder's address, ending in a slash
  const buttons = Object.values(layout.looks)[0]; // the pages show the first controller
  const roles = ['play', 'stop', 'loop'];
  const lampPoints = roles.map((r) => [buttons[r].x, buttons[r].lampY]);
  const lampsIn = (colours) => colours && roles.filter((r, i) => nearer(colours[i], buttons.lampOn, buttons.lampOff)).join('+');

  before(async () => {
    pageServer = spawn(process.env.ORVALIN_PAGE_SERVER, [path.join(served, 'web')], { stdio: ['ignore', 'pipe', 'inherit'] });
    let output = '';
    pageServer.stdout.on('data', (chunk) => { output += chunk; });
    base = new URL(await waitFor('the page server\'s address', () => output.match(/^(http:\S+\/)\n/)?.[1], 10000));
  });

  after(() => pageServer?.kill());

  // Each page: its number, the lamps lit before and after the visitor's
  // first act, that act (a press of the controller's play button, or, where
  // the sound plays at once, a click or a key press away from it), and
  // whether it plays the sound once.
  const pages = [
    ['a controller that waits for its play button', 9, 'stop+loop', 'play+loop', 'play', false],
    ['a controller that plays at once', 7, 'play', 'play', 'click', true],
    ['a bare page', 8, null, null, 'key', false],
  ];
  for (const name of browserNames) {
    describe(`in ${name}`, () => {
      let browser;
      before(async () => { browser = await launchVisitor(name, sound.env, { scale: 2 }); });
      after(async () => browser?.close());

      for (const [kind, number, litBefore, litAfter, act, once] of pages) {
        test(`${kind} shows itself, stays quiet, and sounds at the visitor's first ${act}`, async () => {
          // A context of its own: once a visitor has clicked on a page of a
          // site, Chromium lets the site's next pages play sound at once.
          const context = await browser.createBrowserContext();
          const record = await openPage(context, new URL(`orvaln${number}.htm`, base).href, lampPoints);
          const { page } = record;
          // Until the visitor acts, the test only watches what the page reports.
          const lit = () => lampsIn(record.view?.colours);
          if (litBefore) await waitFor(() => `lamps lit "${litBefore}", seen "${lit()}"`, () => lit() === litBefore, 15000);
          await waitFor('the player\'s mixer', () => record.sound.length > 0, 15000);
          await sleep(1000);
          assert.deepEqual(record.view.shown, [], 'nothing of the player\'s over the movie');
          assertQuiet(record, 'no sound before the visitor acts');
          if (litBefore) {
            await page.screenshot({ path: path.join(screenshots, `web-${name}-${number}.png`),
              clip: { x: 0, y: 0, width: 520, height: 120 } });
          }

          const from = record.now;
          const { box } = record.view;
          if (act === 'play') await page.mouse.click(box.x + buttons.play.x, box.y + buttons.play.y);
          else if (act === 'click') await page.mouse.click(600, 400);
          else await page.keyboard.press('a');
          const heard = await waitForSound(record, from, 10000);
          if (litAfter) await waitFor(() => `lamps lit "${litAfter}", seen "${lit()}"`, () => lit() === litAfter, 10000);
          // The mouse has passed over the controller by now.
          await sleep(300);
          assert.deepEqual(record.view.shown, [], 'nothing of the player\'s over the movie');
          if (once) {
            // Held back until the visitor acted, the sound is still heard
            // whole, from its beginning: the preview tone lasts 3 s.
            const end = await waitForSilence(record, heard.at, 1000, 10000);
            assert.ok(end - heard.at > 2500, `the whole sound, not ${Math.round(end - heard.at)} ms of it`);
          }
          // Everything came from the page's own folder; a browser asks for an icon too.
          const stray = record.responses.filter((r) =>
            r.url.pathname !== '/favicon.ico' && (!r.url.href.startsWith(base.href) || r.status !== 200));
          assert.deepEqual(stray, []);
          for (const file of [`orvaln${number}s.swf`, 'ruffle/ruffle-player.js']) {
            assert.ok(record.responses.some((r) => r.url.href === new URL(file, base).href), `${file} fetched`);
          }
          await closePage(record);
          await context.close();
        });
      }
    });
  }

  test('a page opened as a file shows the player\'s message about it', async () => {
    const { page } = await openPage(chromium, pathToFileURL(path.join(served, 'web', 'orvaln7.htm')).href);
    const player = await playerOf(page);
    await waitFor('the message about "file:"', () => player.evaluate(
      (element) => element.shadowRoot?.textContent.includes('"file:" protocol')), 15000);
    await page.close();
  });
});
