// A game on the npm package steamworks.js, as a Node or Electron game uses
// it, run by tests/offline/node_game/node_game.py under steambridge-offline
// run: the offline client sits beneath the libsteam_api.so that
// steamworks.js ships. One line per answer on stdout; a step that fails ends
// the game with its status and "node_game: FAILED at <step>: <why>".
//
// Usage: node game.js APP_ID ACHIEVEMENT STAT VALUE
"use strict";
const steamworks = require("steamworks.js");

const [appId, achievement, stat, value] = process.argv.slice(2);

function fail(status, step, why) {
  console.error(`node_game: FAILED at ${step}: ${why} (exit ${status})`);
  process.exit(status);
}

// steamworks.js runs Steam's callbacks on a timer of its own, 30 a second.
function frames(count) {
  return new Promise((resolve) => setTimeout(resolve, Math.ceil((count * 1000) / 30)));
}

async function main() {
  let client;
  try {
    client = steamworks.init(Number(appId));
  } catch (error) {
    fail(10, "init", String(error.message || error));
  }
  console.log("started");

  const player = client.localplayer.getSteamId();
  const name = client.localplayer.getName();
  if (typeof name !== "string" || name === "") fail(11, "localplayer", "getName gave no name");
  console.log(`user: ${player.steamId64} ${name} app ${client.utils.getAppId()}`);
  console.log(`ip country: ${client.localplayer.getIpCountry()}`);
  const account = client.cloud.isEnabledForAccount();
  const app = client.cloud.isEnabledForApp();
  if (typeof account !== "boolean" || typeof app !== "boolean") fail(12, "cloud", "no boolean answers");
  console.log(`cloud: account ${account} app ${app}`);

  // The user's stats arrive within frames, as a game's loop sees them.
  await frames(5);
  if (client.achievement.isActivated(achievement)) fail(13, "achievement", `${achievement} is unlocked before the run`);
  if (!client.achievement.activate(achievement)) fail(13, "achievement", `activate(${achievement}) answered false`);
  if (!client.achievement.isActivated(achievement)) fail(13, "achievement", `isActivated(${achievement}) is false after activate`);
  console.log(`achievement ${achievement}: unlocked`);

  const before = client.stats.getInt(stat);
  if (before === null) fail(14, "stats", `getInt(${stat}) answered null`);
  if (!client.stats.setInt(stat, Number(value))) fail(14, "stats", `setInt(${stat}) answered false`);
  const after = client.stats.getInt(stat);
  if (after !== Number(value)) fail(14, "stats", `getInt(${stat}) reads ${after} after setInt`);
  console.log(`stat ${stat}: ${before} -> ${after}`);

  if (!client.stats.store()) fail(15, "store", "store answered false");
  await frames(5);
  console.log("stored");
  // steamworks.js has no shutdown of its own: a game ends its process.
  process.exit(0);
}

main();
