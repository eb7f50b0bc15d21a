// Times, for each kind of page made with the web player, from a visitor's
// click to the first sound, in Chromium and Firefox, served by the program's
// own page server. Prints a Markdown table; see bench/time-to-sound.
// Usage: node time-to-sound.mjs PAGE_SERVER FOLDER RUNS
import { spawn } from 'node:child_process';
import { browserNames, kSoundPeak, launchVisitor, openPage, sleep, startSoundServer, waitFor } from
  '../tests/browser/visitor.mjs';

const [pageServerPath, folder, runsText] = process.argv.slice(2);
const runs = Number(runsText);

// The pages bench/time-to-sound makes, the movie each embeds (a bare page
// embeds its stream), and where a visitor clicks: the controller's play
// button (its centre, in pixels from the controller's corner), or a spot of
// the page away from the player.
const kinds = [
  { name: 'controller, letter c', page: 'orvaln1.htm', movie: 'orvaln1c.swf', stream: 'orvaln1s.swf', button: [58, 20] },
  { name: 'controller, letter e', page: 'orvaln2.htm', movie: 'orvaln2e.swf', stream: 'orvaln2s.swf' },
  { name: 'bare', page: 'orvaln3.htm', stream: 'orvaln3s.swf' },
  // The stream's first frame carries no sound: a click in the first second
  // after a bare page's movie arrives waits for the second.
  { name: 'bare, clicked as its stream arrives', page: 'orvaln3.htm', stream: 'orvaln3s.swf', settleMs: 0 },
];
// A visitor reads the page for a moment before clicking, once the player is
// ready; a click that brings no sound within this time is followed by
// another, at most three in all.
const kSettleMs = 2000;
const kPatienceMs = 4000;

// A page is ready when its movie has arrived, and, for a movie that shows,
// when the player shows its play button or has drawn the movie.
const kCentre = [100, 20];
const ready = ({ view, responses }, stream) => view && responses.some((r) => r.url.href === stream && r.status === 200) &&
  (view.box.width === 0 || view.shown.includes('play-button') || view.colours?.[0][3] === 255);

// Where the player shows its own play button, a visitor clicks that first.
// The page's place comes from what it reports: a script of the benchmark's
// run in the page would count as the visitor's act.
async function clickOnce(page, view, kind) {
  const { box, shown } = view;
  if (shown.includes('play-button') && box.width > 0) {
    return page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  }
  if (!kind.button) return page.mouse.click(600, 400);
  return page.mouse.click(box.x + kind.button[0], box.y + kind.button[1]);
}

// When the browser let the page's sound out, after the visitor's first act.
const letOutAt = ({ states, acts }) => states.find((s) => s.at >= acts[0].at && s.state === 'running')?.at;

// When the first loud sample after the click was heard. What the player
// handed over while the browser held sound back is heard once the browser
// lets it out, after what was queued before it.
function firstHeard(record, click) {
  const letOut = letOutAt(record);
  const times = record.sound.filter((b) => b.peak > kSoundPeak && (b.state === 'running' ? b.at >= click : letOut))
    .map((b) => (b.state === 'running' ? b.heard : letOut + b.ahead));
  return times.length ? Math.min(...times) : undefined;
}

// One visit: the clicks it took, and from the last click, when the stream was
// asked for, when the browser let sound out and when the first sound was heard,
// in ms.
async function visit(browser, base, kind) {
  // A browser context of its own: a click on an earlier visit of the same
  // site lets Chromium play sound at once.
  const context = await browser.createBrowserContext();
  const record = await openPage(context, new URL(kind.page, base).href, [kCentre]);
  const stream = new URL(kind.stream, base).href;
  const movie = new URL(kind.movie ?? kind.stream, base).href;
  await waitFor('the page to be ready', () => ready(record, movie), 30000);
  await sleep(kind.settleMs ?? kSettleMs);
  let result;
  while (!result && record.acts.length < 3) {
    const clicks = record.acts.length;
    await clickOnce(record.page, record.view, kind);
    await waitFor('the click', () => record.acts.length > clicks, 5000);
    const click = record.acts.at(-1).at;
    const clickedAt = Date.now();
    await waitFor('sound', () => firstHeard(record, click) !== undefined || Date.now() - clickedAt > kPatienceMs,
      kPatienceMs + 5000);
    const heard = firstHeard(record, click);
    if (heard !== undefined) {
      const letOut = letOutAt(record) ?? NaN;
      const asked = await record.page.evaluate((url) =>
        performance.getEntriesByName(url)[0]?.startTime ?? NaN, stream);
      result = { clicks: record.acts.length, heard: heard - click, audio: letOut - click, requested: asked - click };
    }
  }
  await context.close();
  return result ?? { clicks: record.acts.length, heard: NaN, audio: NaN, requested: NaN };
}

const median = (values) => {
  const sorted = values.filter((v) => !Number.isNaN(v)).sort((a, b) => a - b);
  return sorted.length ? sorted[(sorted.length - 1) >> 1] : NaN;
};
const ms = (value) => !Number.isFinite(value) ? 'none' : value < 0 ? 'before' : `${Math.round(value)}`;

const pageServer = spawn(pageServerPath, [folder], { stdio: ['ignore', 'pipe', 'inherit'] });
let output = '';
pageServer.stdout.on('data', (chunk) => { output += chunk; });
const sound = await startSoundServer();
try {
  const base = new URL(await waitFor('the page server', () => output.match(/^(http:\S+\/)\n/)?.[1], 10000));
  console.log('| Browser | Page | Clicks | Stream asked for | Browser lets sound out | Sound heard | Slowest sound |');
  console.log('|---|---|---|---|---|---|---|');
  for (const name of browserNames) {
    const browser = await launchVisitor(name, sound.env);
    try {
      for (const kind of kinds) {
        const visits = [];
        // A visit the browser stops answering in counts as one without sound.
        for (let i = 0; i < runs; ++i) {
          visits.push(await visit(browser, base, kind).catch(() => ({ clicks: NaN, heard: NaN, audio: NaN, requested: NaN })));
        }
        const heard = visits.map((v) => v.heard);
        console.log(`| ${name === 'firefox' ? 'Firefox' : 'Chromium'} | ${kind.name} | ${median(visits.map((v) => v.clicks))} | ` +
          `${ms(median(visits.map((v) => v.requested)))} | ${ms(median(visits.map((v) => v.audio)))} | ${ms(median(heard))} | ` +
          `${ms(Math.max(...heard.map((h) => Number.isNaN(h) ? Infinity : h)))} |`);
      }
    } finally {
      await browser.close();
    }
  }
} finally {
  sound.stop();
  pageServer.kill();
}
