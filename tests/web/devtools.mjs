// SPDX-FileCopyrightText: 2026 The Corvallo developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Headless Chromium driven through its DevTools protocol, over the pipe Chromium opens for it
// (--remote-debugging-pipe: commands on its descriptor 3, answers and events on 4, each a JSON
// message ended by a NUL byte), so that nothing beyond node itself is needed.
import { spawn } from 'node:child_process';
import { decodePng } from './png.mjs';

export class Browser {
    static launch(executable, profile, extraArguments = []) {
        const child = spawn(executable, [
            '--headless=new', '--remote-debugging-pipe', `--user-data-dir=${profile}`,
            '--no-first-run', '--no-default-browser-check', '--disable-gpu-sandbox',
            // WebGL, which Qt puts its windows on the page with, on the processor.
            '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
            ...(process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : []),
            ...extraArguments, 'about:blank',
        ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
        return new Browser(child);
    }

    constructor(child) {
        this.child = child;
        this.nextId = 1;
        this.pending = new Map();
        this.listeners = [];
        this.stderr = '';
        child.stdio[2].on('data', (chunk) => { this.stderr = (this.stderr + chunk).slice(-4000); });
        let buffered = Buffer.alloc(0);
        child.stdio[4].on('data', (chunk) => {
            buffered = Buffer.concat([buffered, chunk]);
            for (let end; (end = buffered.indexOf(0)) >= 0;) {
                const message = JSON.parse(buffered.subarray(0, end).toString('utf8'));
                buffered = buffered.subarray(end + 1);
                this.receive(message);
            }
        });
        this.exited = new Promise((resolve) => child.on('exit', resolve));
        this.exited.then(() => {
            for (const { reject } of this.pending.values())
                reject(new Error(`the browser ended: ${this.stderr.trim().split('\n').pop()}`));
            this.pending.clear();
        });
    }

    receive(message) {
        if (message.id !== undefined) {
            const waiting = this.pending.get(message.id);
            this.pending.delete(message.id);
            if (!waiting)
                return;
            if (message.error)
                waiting.reject(new Error(`${waiting.method}: ${message.error.message}`));
            else
                waiting.resolve(message.result);
            return;
        }
        for (const listener of this.listeners)
            listener(message);
    }

    send(method, params = {}, sessionId = undefined) {
        const id = this.nextId++;
        const message = { id, method, params, ...(sessionId ? { sessionId } : {}) };
        return new Promise((resolve, reject) => {
            this.pending.set(id, { resolve, reject, method });
            this.child.stdio[3].write(JSON.stringify(message) + '\0');
        });
    }

    // A new tab of the given size, in device pixels one to one.
    async newPage(width, height) {
        const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
        const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
        const page = new Page(this, targetId, sessionId);
        await page.send('Page.enable');
        await page.send('Runtime.enable');
        await page.resize(width, height);
        return page;
    }

    async close() {
        try {
            await Promise.race([this.send('Browser.close'), new Promise((r) => setTimeout(r, 3000))]);
        } catch {
            // Ended already.
        }
        this.child.kill('SIGKILL');
        await this.exited;
    }
}

export class Page {
    constructor(browser, targetId, sessionId) {
        this.browser = browser;
        this.targetId = targetId;
        this.sessionId = sessionId;
        this.console = [];
        browser.listeners.push((message) => {
            if (message.sessionId !== sessionId)
                return;
            if (message.method === 'Runtime.consoleAPICalled')
                this.console.push(message.params.args.map((a) => a.value ?? a.description).join(' '));
            if (message.method === 'Runtime.exceptionThrown')
                this.console.push(`exception: ${message.params.exceptionDetails.exception?.description
                    ?? message.params.exceptionDetails.text}`);
        });
    }

    send(method, params = {}) {
        return this.browser.send(method, params, this.sessionId);
    }

    // The page's size; a mobile device's screen also turned by the angle (0 upright, 90 on its side).
    async resize(width, height, mobile = false, angle = 0) {
        this.width = width;
        this.height = height;
        const screenOrientation = mobile
            ? { type: angle === 0 ? 'portraitPrimary' : 'landscapePrimary', angle } : undefined;
        await this.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1,
            mobile, screenWidth: width, screenHeight: height, screenOrientation });
    }

    // Resolves once the page has loaded: until then it has no document to read or paint.
    async navigate(url) {
        const loaded = this.next('Page.loadEventFired', 30000);
        await this.send('Page.navigate', { url });
        await loaded;
    }

    async reload() {
        const loaded = this.next('Page.loadEventFired', 30000);
        await this.send('Page.reload', { ignoreCache: false });
        await loaded;
    }

    // The page's next event of this kind.
    next(method, milliseconds) {
        return new Promise((resolve, reject) => {
            const timer = setTimeout(() => {
                done();
                reject(new Error(`no ${method} within ${milliseconds / 1000} s`));
            }, milliseconds);
            const listener = (message) => {
                if (message.sessionId === this.sessionId && message.method === method) {
                    done();
                    resolve(message.params);
                }
            };
            const done = () => {
                clearTimeout(timer);
                this.browser.listeners.splice(this.browser.listeners.indexOf(listener), 1);
            };
            this.browser.listeners.push(listener);
        });
    }

    async evaluate(expression) {
        const { result, exceptionDetails } = await this.send('Runtime.evaluate',
            { expression, returnByValue: true, awaitPromise: true });
        if (exceptionDetails)
            throw new Error(`${expression}: ${exceptionDetails.text}`);
        return result.value;
    }

    // The page as shown, or only the rectangle [x, y, width, height] of it (its pixels then
    // counted from the rectangle's corner).
    async screenshot(rectangle = null) {
        const clip = rectangle
            && { x: rectangle[0], y: rectangle[1], width: rectangle[2], height: rectangle[3], scale: 1 };
        const { data } = await this.send('Page.captureScreenshot', { format: 'png', ...(clip ? { clip } : {}) });
        return decodePng(Buffer.from(data, 'base64'));
    }

    async saveScreenshot(file) {
        const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
        const { writeFile } = await import('node:fs/promises');
        await writeFile(file, Buffer.from(data, 'base64'));
    }

    // A key as a browser reports it: key, code, location and virtual key code; the text a
    // printable key types.
    async key(type, { key, code, location = 0, keyCode, text }, autoRepeat = false) {
        await this.send('Input.dispatchKeyEvent', {
            type: type === 'down' ? (text ? 'keyDown' : 'rawKeyDown') : 'keyUp',
            // The protocol marks the keypad apart; its location is only left or right.
            key, code, isKeypad: location === 3, location: location === 3 ? 0 : location,
            windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode,
            text: type === 'down' ? text : undefined, autoRepeat,
        });
    }

    async click(x, y) {
        for (const type of ['mousePressed', 'mouseReleased'])
            await this.send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
    }

    async touch(x, y) {
        await this.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [{ x, y }] });
        await this.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
    }

    close() {
        return this.browser.send('Target.closeTarget', { targetId: this.targetId });
    }
}
