// Times, for each kind of page made with the web player, from a visitor's
// click to the first sound, in Chromium and Firefox, served by the program's
// own page server. Prints a Markdown table; see bench/time-to-sound.
// Usage: node time-to-sound.mjs PAGE_SERVER FOLDER RUNS
import { spawn } from 'node:child_process';
import { browserNames, launchVisitor, openPage, sleep, soundSince, startSoundServer, waitFor } from
  '../tests/browser/visitor.mjs';

const [pageServerPath, folder, runsText] = process.argv.slice(2);
const runs = Number(runsText);

// The pages bench/time-to-sound makes, and where a visitor clicks: the
// controller's play button (its centre, in pixels from the controller's
// corner), or a spot of the page away from the player.
const kinds = [
  { name: 'controller, letter c', page: 'orvaln1.htm', stream: 'orvaln1s.swf', button: [58, 20] },
  { name: 'controller, letter e', page: 'orvaln2.htm', stream: 'orvaln2s.swf' },
  { name: 'bare', page: 'orvaln3.htm', stream: 'orvaln3s.swf' },
];
// A visitor reads the page for a moment before clicking; a click that brings
// no sound within this time is followed by another, at most three in all.
const kSettleMs = 3000;
const kPatienceMs = 4000;

async function clickOnce(page, kind) {
  const player = await page.$('ruffle-object, ruffle-embed');
  const box = await player.boundingBox();
  // Where the player shows its own play button, a visitor clicks that first.
  const playButton = await player.evaluate((element) => {
    const button = element.shadowRoot?.getElementById('play-button');
    return Boolean(button) && getComputedStyle(button).display !== 'none';
  });
  if (playButton && box.width > 0) return page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  if (!kind.button) return page.mouse.click(600, 400);
  return page.mouse.click(box.x + kind.button[0], box.y + kind.button[1]);
}

// One visit: the clicks it took, and from the last click, when the stream was
// asked for and when the first sound was heard, in ms.
async function visit(browser, base, kind) {
  const { page } = await openPage(browser, new URL(kind.page, base).href);
  await sleep(kSettleMs);
  let clicks = 0;
  let result;
  while (!result && clicks < 3) {
    await clickOnce(page, kind);
    ++clicks;
    result = await waitFor('sound', async () => {
      const { now, log, acts, requests } = await soundSince(page);
      const click = acts.at(-1);
      const loud = log.find((b) => b.at >= click && b.peak > 0.02);
      if (loud) {
        const stream = requests.find((r) => r.name.endsWith(kind.stream));
        return { clicks, heard: loud.heard - click, requested: stream ? stream.start - click : NaN };
      }
      return now - click > kPatienceMs ? 'none' : undefined;
    }, kPatienceMs + 5000);
    if (result === 'none') result = undefined;
  }
  await page.close();
  return result ?? { clicks, heard: NaN, requested: NaN };
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
  console.log('| Browser | Page | Clicks | Stream asked for, ms after the click | Sound heard, ms after the click | Slowest |');
  console.log('|---|---|---|---|---|---|');
  for (const name of browserNames) {
    const browser = await launchVisitor(name, sound.env);
    try {
      for (const kind of kinds) {
        const visits = [];
        for (let i = 0; i < runs; ++i) visits.push(await visit(browser, base, kind));
        const heard = visits.map((v) => v.heard);
        console.log(`| ${name === 'firefox' ? 'Firefox' : 'Chromium'} | ${kind.name} | ${median(visits.map((v) => v.clicks))} | ` +
          `${ms(median(visits.map((v) => v.requested)))} | ${ms(median(heard))} | ` +
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
